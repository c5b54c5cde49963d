#include "ftp_document.h"

#include <cctype>
#include <cerrno>
#include <direct.h>

#include "ftp_api.h"
#include "ftp_translation_dialogs.h"
#include "ftp_views.h"
#include "tolviftp_ids.h"

int LocalListStale = 0;
int RemoteListStale = 0;
int LimitedMode = 0;
int ExitRequested = 0;

FtpDocument::FtpDocument()
    : translationStore_(std::make_unique<IniFileTranslationStore>()),
      translationEditor_(std::make_unique<DialogTranslationEditor>()),
      translator_(CreateFileNameTranslator("std", *translationStore_, *translationEditor_))
{
    OnCommand(ID_FTP_FILENAME_TRANSLATIONS, [this] {
        if (translator_ && translator_->EditTranslations() < 0) {
            const std::string text = std::string("File-name translations not saved: cannot write ") + kFtpIniFile;
            SendToView(FtpViewKind::kMain, WM_FTP_ERROR, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    });
    // The lists refresh from whichever pane is active: the command goes on to its list view.
    OnCommand(ID_FTP_LOCAL_REFRESH, [this] { SendToView(FtpViewKind::kLocal, WM_COMMAND, ID_FTP_LOCAL_REFRESH, 0); });
    OnCommand(ID_FTP_REMOTE_REFRESH, [this] { SendToView(FtpViewKind::kRemote, WM_COMMAND, ID_FTP_REMOTE_REFRESH, 0); });
    // The session commands run on the main view whichever pane is active.
    for (int id : {ID_FTP_CONNECT, ID_FTP_DISCONNECT, ID_FTP_SITE_SETTINGS, ID_FTP_ABORT, ID_FTP_GENERAL_SETTINGS,
                   ID_FTP_SCRIPTS}) {
        OnCommand(id, [this, id] { SendToView(FtpViewKind::kMain, WM_COMMAND, static_cast<WPARAM>(id), 0); });
        OnUpdateCommand(id, [this, id](FwCmdUI& ui) {
            if (FwView* main = FindView(FtpViewKind::kMain))
                main->UpdateCommand(id, ui);
        });
    }
}

FtpDocument::~FtpDocument() = default;

std::string FtpDocument::TranslateSentName(const std::string& localName) const
{
    return translator_ ? translator_->TranslateSentName(localName) : localName;
}

std::string FtpDocument::TranslateReceivedName(const std::string& remoteName) const
{
    return translator_ ? translator_->TranslateReceivedName(remoteName) : remoteName;
}

int FtpDocument::SetLocalDirectory(const std::string& path)
{
    if (_chdir(path.c_str()) != 0)
        return errno != 0 ? errno : ENOENT;
    localDirectory = path;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        if (_chdrive(std::toupper(static_cast<unsigned char>(path[0])) - 'A' + 1) != 0)
            return errno != 0 ? errno : ENOENT;
    }
    LocalListStale = 1;
    UpdateAllViews(nullptr, HINT_LOCAL_DIR);
    return 0;
}

void FtpDocument::SetLocalMask(const std::string& text)
{
    localMask = text;
    UpdateAllViews(nullptr, HINT_LOCAL_MASK);
}

void FtpDocument::SetLocalSelect(const std::string& text)
{
    localSelect = text;
    UpdateAllViews(nullptr, HINT_LOCAL_SELECT);
}

void FtpDocument::SetLocalShow(int flag)
{
    localShow = flag;
    UpdateAllViews(nullptr, HINT_LOCAL_SHOW);
}

void FtpDocument::SetRemoteShow(int flag)
{
    remoteShow = flag;
    UpdateAllViews(nullptr, HINT_REMOTE_SHOW);
}

int FtpDocument::ChangeRemoteDirectory(const std::string& path)
{
    const int result = FtpCd(path.c_str());
    if (result != 0) {
        errno = result;
        return result;
    }
    RemoteListStale = 1;
    UpdateAllViews(nullptr, HINT_REMOTE_DIR);
    return 0;
}

void FtpDocument::SetRemoteMask(const std::string& text)
{
    remoteMask = text;
    UpdateAllViews(nullptr, HINT_REMOTE_MASK);
    RemoteListStale = 1;
}

void FtpDocument::SetRemoteSelect(const std::string& text)
{
    remoteSelect = text;
    UpdateAllViews(nullptr, HINT_REMOTE_SELECT);
}

int FtpDocument::NextSelected(HWND list, int& walk, std::string& name, FileEntryKind* kind)
{
    if (!list)
        return -1;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR)
        return -1;
    for (int i = walk; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0)
            continue;
        const std::string text = ListBoxText(list, i);
        name = EntryName(text);
        if (kind) {
            // The kind the list recorded when it was filled, never guessed from the text.
            *kind = RecordedKind(list, i);
            if (*kind == FileEntryKind::kDirectory)
                name = DirectoryName(text);
        }
        walk = i + 1;
        return walk;
    }
    return -1;
}

int FtpDocument::NextSelectedLocal(std::string& name) { return NextSelected(localList, localWalk, name, nullptr); }
int FtpDocument::NextSelectedRemote(std::string& name) { return NextSelected(remoteList, remoteWalk, name, nullptr); }
int FtpDocument::NextSelectedLocal(std::string& name, FileEntryKind& kind)
{
    return NextSelected(localList, localWalk, name, &kind);
}
int FtpDocument::NextSelectedRemote(std::string& name, FileEntryKind& kind)
{
    return NextSelected(remoteList, remoteWalk, name, &kind);
}

FwView* FtpDocument::FindView(FtpViewKind kind) const
{
    for (FwView* view : Views()) {
        switch (kind) {
        case FtpViewKind::kMain:
            if (dynamic_cast<FtpMainView*>(view))
                return view;
            break;
        case FtpViewKind::kLocal:
            if (dynamic_cast<FtpLocalView*>(view))
                return view;
            break;
        case FtpViewKind::kRemote:
            if (dynamic_cast<FtpRemoteView*>(view))
                return view;
            break;
        }
    }
    return nullptr;
}

LRESULT FtpDocument::SendToView(FtpViewKind kind, UINT message, WPARAM wParam, LPARAM lParam) const
{
    FwView* view = FindView(kind);
    return view && view->Handle() ? SendMessageA(view->Handle(), message, wParam, lParam) : 0;
}

void FtpDocument::LogInfo(const std::string& text) const
{
    SendToView(FtpViewKind::kMain, WM_FTP_INFO, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
