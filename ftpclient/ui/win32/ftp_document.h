// TolviFTP's document: what the three views share. The two file list boxes (their windows are
// made by the list views), the masks, select patterns and show flags of both sides, the walks
// over the selected entries, and the update hints the views follow.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "file_list_entries.h"
#include "file_name_translations.h"
#include "fw_view.h"

// Update hints.
enum FtpHint : long {
    HINT_LOCAL_DIR = 1,
    HINT_REMOTE_DIR = 2,
    HINT_LOCAL_MASK = 4,
    HINT_REMOTE_MASK = 8,
    HINT_LOCAL_SELECT = 16,
    HINT_REMOTE_SELECT = 32,
    HINT_LOCAL_SHOW = 64,
    HINT_REMOTE_SHOW = 128,
    HINT_SEND_SELECTED = 256,
    HINT_RECEIVE_SELECTED = 512,
};

// The client's window messages.
constexpr UINT WM_FTP_PROGRESS = 0x436;
constexpr UINT WM_FTP_VERBOSE = 0x439;
constexpr UINT WM_SET_STATUS_WIDTH = WM_USER + 203;
constexpr UINT WM_SET_STATUS_TEXT = WM_USER + 204;
constexpr UINT WM_REMOVE_LIST_ENTRY = WM_USER + 205;
constexpr UINT WM_LIST_VIEW_QUERY = WM_USER + 206;

// Process-wide flags of the views and the session commands.
extern int LocalListStale;
extern int RemoteListStale;
extern int LimitedMode;
extern int ExitRequested;

enum class FtpViewKind { kMain = 1, kLocal = 2, kRemote = 3 };

class FtpDocument : public FwViewDocument {
public:
    FtpDocument();
    ~FtpDocument() override;

    // Changes the current folder (and drive); 0 or the C error number.
    int SetLocalDirectory(const std::string& path);
    void SetLocalMask(const std::string& text);
    void SetLocalSelect(const std::string& text);
    void SetLocalShow(int flag);
    void SetRemoteShow(int flag);
    // FtpCd; the API's result (0 on success).
    int ChangeRemoteDirectory(const std::string& path);
    void SetRemoteMask(const std::string& text);
    void SetRemoteSelect(const std::string& text);
    // The next selected entry's name from the walk index on; the new index, or -1.
    int NextSelectedLocal(std::string& name);
    int NextSelectedRemote(std::string& name);
    // The same with the kind the list recorded for the entry; a directory's name comes without
    // its brackets.
    int NextSelectedLocal(std::string& name, FileEntryKind& kind);
    int NextSelectedRemote(std::string& name, FileEntryKind& kind);

    FwView* FindView(FtpViewKind kind) const;
    LRESULT SendToView(FtpViewKind kind, UINT message, WPARAM wParam, LPARAM lParam) const;
    void LogInfo(const std::string& text) const;

    std::string localDirectory;
    std::string localMask = "*.*";
    std::string localSelect;
    int localShow = 1;
    std::string remoteMask = "*";
    std::string remoteSelect;
    int remoteShow = 1;
    int localWalk = 0;
    int remoteWalk = 0;
    HWND localList = nullptr;
    HWND remoteList = nullptr;
    std::string title = "Untitled";

    // The file-name translator ("std"), kept for the program's run; the names a transfer proposes
    // for its destination (the name unchanged when there is no translator).
    std::string TranslateSentName(const std::string& localName) const;
    std::string TranslateReceivedName(const std::string& remoteName) const;

private:
    std::unique_ptr<TranslationStore> translationStore_;
    std::unique_ptr<TranslationEditor> translationEditor_;
    std::unique_ptr<FileNameTranslator> translator_;

    int NextSelected(HWND list, int& walk, std::string& name, FileEntryKind* kind);
};
