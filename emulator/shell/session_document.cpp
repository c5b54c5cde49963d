#include "shell/session_document.h"

#include <cstring>
#include <filesystem>

#include "engine/screen_planes.h"
#include "shell/config_file.h"
#include "session/messages.h"
#include "shell/hotspot_table.h"
#include "shell/path_helpers.h"
#include "engine/colors.h"
#include "connections/connection_dispatch.h"
#include "engine/host_commands/host_print.h"
#include "shell/record_defaults.h"
#include "shell/startup_state.h"

namespace {
CZolexDoc* sessionDoc = nullptr;
}  // namespace

CZolexDoc* GetSessionDoc() { return sessionDoc; }
void SetSessionDoc(CZolexDoc* doc) { sessionDoc = doc; }

// The key tables are where the hotspot table's entries resolve.
CZolexDoc::CZolexDoc() : record(Rec), tables(&SessionTranslateTables) { SetHotspotSources(&keyMap, &keyDefs); }

CZolexDoc::~CZolexDoc()
{
    if (HotspotKeySource() == &keyMap) SetHotspotSources(nullptr, nullptr);
}

int CZolexDoc::SerializeConfigFile(const std::string& file, bool write)
{
    return ::SerializeConfigFile(file.c_str(), write, *record, strings);
}

void CZolexDoc::LoadSessionDataFiles()
{
    LoadTranslateTables(tables->Outgoing, tables->Incoming, false);
    LoadKeyDefFile(keyDefs, false);
    LoadKeyMapFile(keyMap, false);
}

int CZolexDoc::InitDefaults()
{
    const bool has3270Section = !Startup.NewConfiguration[1];
    if (!SetRecordDefaults(*record, Startup.NewConfiguration[0], has3270Section, AllocScreenBuffers, *tables))
        return 0;
    ApplyDocumentStringDefaults(strings);
    // The title names the program also when no configuration file could be read.
    strings.AppNameShown = strings.AppName;
    docWidth = 800;
    docHeight = 168;
    if (Startup.StartupConfigName.empty()) {
        LoadSessionDataFiles();
        RefreshHotspotStrings();
    }
    return 1;
}

bool CZolexDoc::OnNewDocument()
{
    if (!FwDocument::OnNewDocument() || !InitDefaults()) return false;
    HotspotsChanged = KeyMapChanged = KeyDefChanged = TranslateChanged = ButtonsChanged = 0;
    const std::string& name = Startup.StartupConfigName;
    if (!name.empty()) {
        const std::string found = IsBareName(name) ? FindAlongPath(name) : name;
        OnOpenDocument(found.empty() ? name : found);
    }
    return ApplyCommandLine() != -1;
}

bool CZolexDoc::OnOpenDocument(const std::string& path)
{
    SettingsRecord& rec = *record;
    if (rec.Connected && ShowMessage(52, kMsgYesNo | kMsgIconExclamation, nullptr) != kAnswerYes) return false;
    ChangeToPathDirectory(path);
    SetModifiedFlag(true);
    if (Site()) Site()->SetWaitCursor(true);
    const int historyRowsBefore = rec.HistoryRowsAlloc;
    const bool read = SerializeConfigFile(path, false) != 0;
    if (Site()) Site()->SetWaitCursor(false);
    if (!read) return false;

    SetPathName(path, true);
    SetModifiedFlag(false);
    LoadSessionDataFiles();

    if (historyRowsBefore == rec.HistoryRows) {
        if (rec.FgScreen && rec.BgScreen) {
            std::memset(rec.FgScreen, rec.AttrColors[kAttrNormal][kAttrFg], kScreenCells);
            std::memset(rec.BgScreen, rec.AttrColors[kAttrNormal][kAttrBg], kScreenCells);
            PlanesRewritten(rec);
        }
    } else if (!AllocScreenBuffers(rec)) {
        return false;
    }
    UpdateCurrentColors(*Rec);
    strings.AppNameShown = strings.AppName;
    rec.LocalEchoNow = rec.LocalEcho;
    rec.NewLineNow = rec.NewLine;
    rec.AutoWrapNow = rec.AutoWrap;
    rec.PrintToScreenNow = rec.PrintToScreen;
    rec.ScrollBottom = static_cast<uint8_t>(rec.MaxRows - 1);
    rec.HostNameMissing = rec.HostName[0] == '\0' ? 1 : 0;
    FrameRefitPending = 1;
    if (Site()) Site()->UpdateAllViews();
    return true;
}

bool CZolexDoc::OnSaveDocument(const std::string& path)
{
    SetModifiedFlag(true);
    if (Site()) Site()->SetWaitCursor(true);
    const bool written = SerializeConfigFile(path, true) != 0;
    if (Site()) Site()->SetWaitCursor(false);
    if (!written) return false;

    SetPathName(path, false);
    if (Site()) Site()->SetStatusText(0, "");
    SetModifiedFlag(false);

    // Every data file that changed (all of them for a new configuration). A file that could not be
    // written keeps its changed mark and fails the save, so the next save tries it again.
    const bool all = Startup.NewConfiguration[0];
    bool ok = true;
    auto status = [&](int message, const std::string& name) {
        if (!Site()) return;
        std::string text = MessageText(message);
        const std::size_t at = text.find("%1");
        if (at != std::string::npos) text.replace(at, 2, name);
        Site()->SetStatusText(0, text);
    };
    if (all || KeyMapChanged) {
        const std::string name = GetKeyMapFileName(false);
        status(61, name);
        ok = SaveKeyMapFile(name) == 0 && ok;
    }
    if (all || KeyDefChanged) {
        const std::string name = GetKeyDefFileName(false);
        status(62, name);
        ok = SaveKeyDefFile(name) == 0 && ok;
    }
    if ((all || HotspotsChanged) && DynHotspots) {
        // A failed save (message 94) leaves the flag set, so the next save tries again.
        if (DynHotspots->Save(GetDynHotspotFileName(false))) HotspotsChanged = 0;
        else ok = false;
    }
    if (all || TranslateChanged) {
        const std::string name = GetTranslateFileName(false);
        status(63, name);
        if (SaveTranslateTables(name) == 0) TranslateChanged = 0;
        else ok = false;
    }
    if (all || ButtonsChanged) {
        const std::string target = record->AutonameFiles ? ReplaceExtension(path, "but") : strings.ButtonFile;
        const std::string source =
            strings.ActiveButtonFile.empty() ? GetButtonFileName(false) : strings.ActiveButtonFile;
        // No button file to read (none was ever installed, or the configuration is new and its
        // emulation has none): nothing to copy. A file onto itself is already saved.
        std::error_code sameError;
        if (source.empty() || !FileReadable(source) || std::filesystem::equivalent(source, target, sameError) ||
            CopyOrAppendFile(source, target, false) == 0) {
            ButtonsChanged = 0;
        } else {
            ShowNamedMessage(47, kMsgOk, target);
            ok = false;
        }
    }
    if (!ok) {
        SetModifiedFlag(true);
        return false;
    }
    Startup.NewConfiguration[0] = false;
    return true;
}

bool CZolexDoc::SaveDocumentAs(const std::string& path)
{
    KeyMapChanged = KeyDefChanged = TranslateChanged = ButtonsChanged = HotspotsChanged = 1;
    return OnSaveDocument(path);
}

bool CZolexDoc::CanCloseFrame()
{
    SettingsRecord& rec = *record;
    if (rec.TransferActive) {
        ShowMessage(95, kMsgOk, nullptr);
        return false;
    }
    if (!rec.Connecting && !rec.Connected) {
        if (rec.HangupReason != 0) {
            rec.ExitPending = 1;
            return false;
        }
        ShutdownTransport();
        EndPrint(0);
        return FwDocument::CanCloseFrame();
    }
    if (!rec.Connecting && !strings.MsgExit.empty() &&
        ShowMessage(0, kMsgYesNo | kMsgIconQuestion, "%s", strings.MsgExit.c_str()) != kAnswerYes)
        return false;
    rec.ExitPending = 1;
    if (Site()) Site()->PostCommand(256);
    return false;
}

bool CZolexDoc::SaveModified()
{
    if (IsModified() && !record->AllowWriteCfg)
        return ShowMessage(71, kMsgOkCancel, nullptr) == kAnswerOk;
    return FwDocument::SaveModified();
}

std::string CZolexDoc::GetPrinterName(int printer) const
{
    switch (printer) {
    case 1: return strings.Printer1;
    case 2: return strings.Printer2;
    case 3: return strings.Printer3;
    default: return std::string();
    }
}
