#include "shell/config_preference_commands.h"

#include "session/messages.h"
#include "shell/session_document.h"

namespace {

void Modified(CZolexDoc& doc) { doc.SetModifiedFlag(true); }

}  // namespace

void AutoLoginAfterOk(CZolexDoc& doc, const AutoLoginValues& values)
{
    StoreAutoLoginValues(values, *doc.record, doc.strings);
    Modified(doc);
}

void PhoneAfterOk(CZolexDoc& doc, const PhoneValues& values)
{
    StorePhoneValues(values, *doc.record);
    Modified(doc);
}

void HostEnvAfterOk(CZolexDoc& doc, const HostEnvValues& values)
{
    StoreHostEnvValues(values, *doc.record);
    Modified(doc);
}

void ModemAfterOk(CZolexDoc& doc, const ModemValues& values)
{
    StoreModemValues(values, *doc.record);
    Modified(doc);
}

void FileTransferCmdAfterOk(CZolexDoc& doc, const FileTransferCmdValues& values)
{
    StoreFileTransferCmdValues(values, *doc.record, doc.strings);
    Modified(doc);
}

void MouseAfterOk(CZolexDoc& doc, const MouseValues& values)
{
    StoreMouseValues(values, *doc.record, doc.strings);
    Modified(doc);
}

void MultimediaAfterOk(CZolexDoc& doc, const MultimediaValues& values)
{
    StoreMultimediaValues(values, *doc.record);
    Modified(doc);
}

void TerminalPrintersAfterOk(CZolexDoc& doc, const TerminalPrinterValues& values)
{
    StoreTerminalPrinterValues(values, *doc.record, doc.strings);
    Modified(doc);
}

void FilePrefsAfterOk(CZolexDoc& doc, const FileNamePrefsValues& values)
{
    const unsigned marks = StoreFileNamePrefsValues(values, *doc.record, doc.strings);
    Modified(doc);
    if (marks & kKeyMapFileMark) doc.KeyMapChanged = 1;
    if (marks & kKeyDefFileMark) doc.KeyDefChanged = 1;
    if (marks & kTranslateFileMark) doc.TranslateChanged = 1;
    if (marks & kButtonFileMark) doc.ButtonsChanged = 1;
    if (marks & kHotspotFileMark) doc.HotspotsChanged = 1;
    doc.SetTitle(nullptr);
    if (doc.Site()) doc.Site()->UpdateAllViews();
}

void DdeAfterOk(CZolexDoc& doc, const DdeSettingsValues& values)
{
    StoreDdeValues(values, *doc.record);
    ShowMessage(1450, kMsgOk | kMsgIconInformation, nullptr);
    Modified(doc);
}
