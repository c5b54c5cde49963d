#include <windows.h>

#include <commctrl.h>
#include <direct.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_main_frame.h"
#include "ftp_views.h"
#include "fw_dialog.h"
#include "listing_parsers.h"
#include "listing_reader.h"
#include "match_mask.h"
#include "tolviftp_ids.h"

namespace {

constexpr int kListId = 101;

// Seconds since 1970 of a file time; -1 before 1970.
long long UnixSeconds(const FILETIME& time)
{
    const unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    constexpr unsigned long long kEpoch = 116444736000000000ull;
    if (ticks < kEpoch)
        return -1;
    return static_cast<long long>((ticks - kEpoch) / 10000000ull);
}

// The list box's own window procedure, under FileListBoxProc. The list boxes are subclassed by
// hand rather than with SetWindowSubclass: that one looks up a window property for every message,
// which under Wine is a trip to the server, and filling or walking a long list sends thousands.
WNDPROC g_listBoxProc = nullptr;

LRESULT CallListBox(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_listBoxProc, window, message, wParam, lParam);
}

// The keys the file list box hands to its view.
LRESULT CALLBACK FileListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) {
        switch (wParam) {
        case VK_TAB:
        case VK_RETURN:
        case VK_INSERT:
        case VK_DELETE:
        case VK_F5: {
            HWND owner = GetWindow(window, GW_OWNER);
            if (!owner)
                owner = GetParent(window);
            return SendMessageA(owner, WM_KEYDOWN, wParam, lParam);
        }
        default:
            break;
        }
    }
    if (message == WM_GETDLGCODE)
        return CallListBox(window, message, wParam, lParam) | DLGC_WANTALLKEYS;
    return CallListBox(window, message, wParam, lParam);
}

bool ControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

// A Yes/No question of the string table with the number of entries.
bool AskCount(HWND owner, int id, int count)
{
    char text[200];
    std::snprintf(text, sizeof text, LoadLocalString(id).c_str(), count);
    return FwMessageBox(owner, text, MB_YESNO | MB_ICONQUESTION, "TolviFTP") == IDYES;
}

// A long fill hands the window its messages between chunks: at once when input or a posted or
// sent message waits, else this often so that it repaints.
constexpr auto kFillPumpEvery = std::chrono::milliseconds(30);
constexpr std::size_t kFillChunk = 256;

bool MessagesWait() { return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0; }

// Adds a whole fill behind the entries the list holds (drive lines, "[..]"), which sort before
// any of it: sorted in memory, then appended in one pass with room made for all of it at once.
// Between chunks, when messages wait or kFillPumpEvery has passed, the list shows what it holds
// so far and `dispatch` hands out the waiting messages; it returns false when the list must not be touched
// any more (it was filled anew or destroyed meanwhile), and so does AppendEntries then.
bool AppendEntries(HWND list, std::vector<PendingEntry>& entries, const std::function<bool()>& dispatch)
{
    SortEntries(entries);
    std::size_t bytes = 0;
    for (const PendingEntry& entry : entries)
        bytes += entry.text.size() + 1;
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(entries.size()), static_cast<LPARAM>(bytes));
    auto last = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i % kFillChunk == 0 && i > 0 &&
            (MessagesWait() || std::chrono::steady_clock::now() - last >= kFillPumpEvery)) {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
            if (!dispatch())
                return false;
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
            last = std::chrono::steady_clock::now();
        }
        const PendingEntry& entry = entries[i];
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
        if (at < 0)
            break;
        RecordKind(list, static_cast<int>(at), entry.kind);
        if (entry.selected)
            SendMessageA(list, LB_SETSEL, TRUE, at);
    }
    return true;
}

}  // namespace

std::string ListBoxText(HWND list, int index)
{
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length <= 0)
        return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
}

FileEntryKind RecordedKind(HWND list, int index)
{
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    switch (data) {
    case 1: return FileEntryKind::kDrive;
    case 2: return FileEntryKind::kParent;
    case 3: return FileEntryKind::kDirectory;
    default: return FileEntryKind::kFile;
    }
}

void RecordKind(HWND list, int index, FileEntryKind kind)
{
    const int data = kind == FileEntryKind::kDrive ? 1 : kind == FileEntryKind::kParent ? 2
                   : kind == FileEntryKind::kDirectory ? 3 : 4;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

int ListBoxModel::Count() const
{
    const LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

bool ListBoxModel::Selected(int index) const { return SendMessageA(list_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0; }

void ListBoxModel::Select(int index, bool on) { SendMessageA(list_, LB_SETSEL, on ? TRUE : FALSE, index); }

void ListBoxModel::Insert(int index, const std::string& text)
{
    SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(index == Count() ? -1 : index),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBoxModel::Remove(int index) { SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

// ---- both lists

FtpDocument& FtpListView::Doc() const { return *static_cast<FtpDocument*>(Document()); }

int FtpListView::OnCreate()
{
    // File sizes are shown in groups of three digits, with the separator of the user's locale.
    char separator[8] = "";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator) <= 0)
        separator[0] = '\0';
    SetSizeSeparator(separator);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                LBS_EXTENDEDSEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                            0, 0, 200, 200, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance,
                            nullptr);
    if (!list_)
        return -1;
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, 800, 0);
    const WNDPROC own = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileListBoxProc)));
    if (g_listBoxProc == nullptr)
        g_listBoxProc = own;
    return 0;
}

void FtpListView::OnActivateView(bool active)
{
    if (active && list_)
        SetFocus(list_);
}

bool FtpListView::Append(std::vector<PendingEntry>& entries, unsigned fill)
{
    HWND list = list_;
    return AppendEntries(list, entries, [this, list, fill] {
        if (FwView* main = Doc().FindView(FtpViewKind::kMain))
            static_cast<FtpMainView*>(main)->PumpMessages();
        return list_ == list && fills_ == fill;
    });
}

void FtpListView::SetTabStops(const int* stops, int count, const std::vector<PendingEntry>& appended)
{
    // The stops are quarters of the horizontal dialog base unit, the list box's own unit. The
    // first column is made as wide as the longest name the list holds, so no name runs into the
    // next column; the other columns move along with it. The entries just appended are measured
    // from memory, those before them read back from the list.
    int widest = 0;
    HDC dc = GetDC(list_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list_, WM_GETFONT, 0, 0)));
    const auto measure = [dc, &widest](const std::string& text) {
        SIZE size{};
        const std::size_t tab = text.find('\t');
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(tab == std::string::npos ? text.size() : tab), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    };
    const int n = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
    const int before = std::max(0, n - static_cast<int>(appended.size()));
    for (int i = 0; i < before; ++i)
        measure(ListBoxText(list_, i));
    for (const PendingEntry& entry : appended)
        measure(entry.text);
    // The list box turns its stops into pixels by its own font's average character width.
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
    const int base = static_cast<int>(metrics.tmAveCharWidth);
    const int needed = base > 0 ? (widest + base / 2) * 4 / base + 6 : 0;
    const int shift = count > 0 && needed > stops[0] ? needed - stops[0] : 0;
    std::vector<int> units(stops, stops + count);
    for (int& unit : units)
        unit += shift;
    SendMessageA(list_, LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(units.data()));
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(800 + shift * base / 4), 0);
}

bool FtpListView::FirstSelected(std::string& text, FileEntryKind& kind) const
{
    int first = -1;
    if (SendMessageA(list_, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) != 1 || first < 0)
        return false;
    text = ListBoxText(list_, first);
    kind = RecordedKind(list_, first);
    return true;
}

void FtpListView::ConfirmTransfer(int stringId, long hint)
{
    ListBoxModel model(list_);
    const int count = DeselectNonFiles(model, 16);
    if (count > 0 && AskCount(Frame() ? Frame()->Handle() : Handle(), stringId, count)) {
        if (hint == HINT_SEND_SELECTED)
            Doc().localSelect.clear();
        else
            Doc().remoteSelect.clear();
        Doc().UpdateAllViews(nullptr, hint);
    }
    SetFocus(list_);
}

void FtpListView::ConfirmDelete(int command)
{
    ListBoxModel model(list_);
    const int count = DeselectNonFiles(model, 0);
    if (count > 0 && AskCount(Frame() ? Frame()->Handle() : Handle(), 3034, count)) {
        if (command == ID_FTP_DELETE_LOCAL_SELECTED)
            Doc().localSelect.clear();
        else
            Doc().remoteSelect.clear();
        Doc().SendToView(FtpViewKind::kMain, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    SetFocus(list_);
}

void FtpListView::MainCommand(int command)
{
    Doc().SendToView(FtpViewKind::kMain, WM_COMMAND, static_cast<WPARAM>(command), 0);
    SetFocus(list_);
}

bool FtpListView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        if (list_)
            MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        result = 0;
        return false;  // the local view also reports its width
    case WM_SETFOCUS:
        if (Frame())
            Frame()->SetActiveView(this);
        if (list_)
            SetFocus(list_);
        result = 0;
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_SETFOCUS && Frame()) {
            Frame()->SetActiveView(this);
            result = 0;
            return true;
        }
        if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_DBLCLK) {
            OnOpenEntry();
            result = 0;
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            OnOpenEntry();
            result = 0;
            return true;
        }
        result = 0;
        return OnListKey(static_cast<int>(wParam));
    case WM_REMOVE_LIST_ENTRY: {
        ListBoxModel model(list_);
        const int index = lParam ? FindEntryByName(model, reinterpret_cast<const char*>(lParam)) : -1;
        if (index >= 0) {
            model.Remove(index);
            int& walk = WalkIndex();
            if (walk > index)
                --walk;
        }
        result = 0;
        return true;
    }
    case WM_LIST_VIEW_QUERY:
        result = 0;
        return true;
    case WM_DESTROY:
        if (list_) {
            SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listBoxProc));
            DestroyWindow(list_);
            list_ = nullptr;
        }
        return false;
    default:
        return false;
    }
}

// ---- the local list

FtpLocalView::FtpLocalView()
{
    OnCommand(ID_FTP_LOCAL_SEND, [this] { ConfirmTransfer(3033, HINT_SEND_SELECTED); });
    OnCommand(ID_FTP_LOCAL_DELETE, [this] { ConfirmDelete(ID_FTP_DELETE_LOCAL_SELECTED); });
    OnUpdateCommand(ID_FTP_LOCAL_DELETE, [](FwCmdUI& ui) { ui.Enable(!LimitedMode); });
    OnCommand(ID_FTP_LOCAL_MKDIR, [this] { MainCommand(ID_FTP_CREATE_LOCAL_DIR); });
    OnCommand(ID_FTP_LOCAL_REFRESH, [this] {
        FillLocalList(false);
        LocalListStale = 0;
    });
}

int& FtpLocalView::WalkIndex() { return Doc().localWalk; }

int FtpLocalView::OnCreate()
{
    if (FtpListView::OnCreate() != 0)
        return -1;
    Doc().localList = list_;
    FillLocalList(true);
    return 0;
}

bool FtpLocalView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const bool handled = FtpListView::OnMessage(message, wParam, lParam, result);
    if (message == WM_SIZE && Frame())
        SendMessageA(Frame()->Handle(), WM_SET_STATUS_WIDTH, 0, LOWORD(lParam));
    if (message == WM_DESTROY)
        Doc().localList = nullptr;
    return handled;
}

void FtpLocalView::OnInitialUpdate()
{
    RECT window;
    GetWindowRect(Handle(), &window);
    if (Frame())
        SendMessageA(Frame()->Handle(), WM_SET_STATUS_WIDTH, 0, window.right - window.left);
    FillLocalList(false);
    LocalListStale = 0;
}

void FtpLocalView::OnUpdate(FwView* sender, long hint)
{
    if (hint == 0) {
        InvalidateRect(Handle(), nullptr, TRUE);
        return;
    }
    if (hint == HINT_LOCAL_DIR || hint == HINT_LOCAL_SELECT || hint == HINT_LOCAL_MASK)
        FillLocalList(_getdrive() != currentDrive_);
}

bool FtpLocalView::OnListKey(int key)
{
    switch (key) {
    case VK_F5:
        FillLocalList(false);
        return true;
    case VK_DELETE:
        if (!LimitedMode)
            ConfirmDelete(ID_FTP_DELETE_LOCAL_SELECTED);
        return true;
    case VK_INSERT:
        MainCommand(ID_FTP_CREATE_LOCAL_DIR);
        return true;
    case VK_TAB:
        if (Frame())
            Frame()->SetActiveView(Doc().FindView(FtpViewKind::kRemote));
        return true;
    default:
        return false;
    }
}

void FtpLocalView::OnOpenEntry()
{
    std::string text;
    FileEntryKind kind;
    if (!FirstSelected(text, kind))
        return;
    switch (kind) {
    case FileEntryKind::kDrive: {
        const std::string drive = text.substr(1, 2);
        if (Doc().SetLocalDirectory(drive) == 0)
            FillLocalList(true);
        break;
    }
    case FileEntryKind::kParent:
    case FileEntryKind::kDirectory: {
        std::string path = FtpCurrentDirectory();
        if (!path.empty() && path.back() != '\\')
            path += '\\';
        Doc().SetLocalDirectory(path + DirectoryName(text));
        break;
    }
    case FileEntryKind::kFile:
        ConfirmTransfer(3033, HINT_SEND_SELECTED);
        break;
    }
    SetFocus(list_);
}

void FtpLocalView::FillLocalList(bool withDrives)
{
    if (!list_)
        return;
    const unsigned fill = ++fills_;
    const std::string directory = FtpCurrentDirectory();
    if (Frame())
        SendMessageA(Frame()->Handle(), WM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(directory.c_str()));
    ListBoxModel model(list_);
    FtpDocument& doc = Doc();
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    if (withDrives) {
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        if (doc.localShow) {
            const int current = _getdrive();
            for (int drive = 1; drive <= 26; ++drive) {
                const char letter = static_cast<char>('A' + drive - 1);
                std::string freeText, totalText;
                if (!(firstFill_ && drive <= 2)) {
                    const char root[] = {letter, ':', '\\', '\0'};
                    ULARGE_INTEGER available, total, free;
                    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
                    const BOOL answered = GetDiskFreeSpaceExA(root, &available, &total, &free);
                    SetErrorMode(old);
                    if (!answered)
                        continue;
                    freeText = SpaceText(free.QuadPart);
                    totalText = SpaceText(total.QuadPart);
                }
                model.Insert(model.Count(), DriveEntry(letter, drive == current, freeText, totalText));
                model.SetKind(model.Count() - 1, FileEntryKind::kDrive);
                if (drive == current)
                    currentDrive_ = drive;
            }
            firstFill_ = false;
        }
    } else {
        for (int i = model.Count() - 1; i >= 0; --i)
            if (!(doc.localShow && EntryKind(model.Text(i)) == FileEntryKind::kDrive))
                model.Remove(i);
    }
    std::vector<PendingEntry> entries;
    if (doc.localShow) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("*.*", &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const long long seconds = UnixSeconds(found.ftLastWriteTime);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    const std::string name = found.cFileName;
                    if (name != ".")
                        entries.push_back({LocalDirectoryEntry(name, seconds),
                                           name == ".." ? FileEntryKind::kParent : FileEntryKind::kDirectory, false});
                } else {
                    const unsigned long long size =
                        (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
                    const bool selected =
                        !doc.localSelect.empty() && MatchMask(found.cFileName, doc.localSelect.c_str(), 1);
                    entries.push_back({LocalFileEntry(found.cFileName, size, seconds), FileEntryKind::kFile, selected});
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        if (!Append(entries, fill))
            return;
    }
    // Room for a name of 20 characters (more when a name is longer), a size of 14 with its
    // separators, the date and the time.
    static const int stops[] = {80, 136, 188, 216};
    SetTabStops(stops, 4, entries);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    const int caret = CaretAfterFill(model);
    if (caret >= 0)
        SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    lastShow_ = doc.localShow;
}

// ---- the remote list

FtpRemoteView::FtpRemoteView()
{
    OnCommand(ID_FTP_REMOTE_RECEIVE, [this] { ConfirmTransfer(3035, HINT_RECEIVE_SELECTED); });
    OnCommand(ID_FTP_REMOTE_DELETE, [this] { ConfirmDelete(ID_FTP_DELETE_REMOTE_SELECTED); });
    OnUpdateCommand(ID_FTP_REMOTE_DELETE, [](FwCmdUI& ui) { ui.Enable(!LimitedMode); });
    OnCommand(ID_FTP_REMOTE_MKDIR, [this] { MainCommand(ID_FTP_CREATE_REMOTE_DIR); });
    OnCommand(ID_FTP_REMOTE_REFRESH, [this] {
        FillRemoteList(true);
        RemoteListStale = 0;
    });
    OnCommand(ID_FTP_REMOTE_REDISPLAY, [this] { FillRemoteList(false); });
}

int& FtpRemoteView::WalkIndex() { return Doc().remoteWalk; }

int FtpRemoteView::OnCreate()
{
    if (FtpListView::OnCreate() != 0)
        return -1;
    Doc().remoteList = list_;
    FillRemoteList(true);
    return 0;
}

bool FtpRemoteView::OnListKey(int key)
{
    switch (key) {
    case VK_F5:
        FillRemoteList(true);
        return true;
    case VK_DELETE:
        if (!LimitedMode)
            ConfirmDelete(ID_FTP_DELETE_REMOTE_SELECTED);
        return true;
    case VK_INSERT:
        MainCommand(ID_FTP_CREATE_REMOTE_DIR);
        return true;
    case VK_TAB:
        if (Frame())
            Frame()->SetActiveView(Doc().FindView(ControlDown() ? FtpViewKind::kMain : FtpViewKind::kLocal));
        return true;
    default:
        return false;
    }
}

void FtpRemoteView::OnOpenEntry()
{
    std::string text;
    FileEntryKind kind;
    if (!FirstSelected(text, kind))
        return;
    if (kind == FileEntryKind::kDirectory || kind == FileEntryKind::kParent) {
        if (Doc().ChangeRemoteDirectory(DirectoryName(text)) == 0)
            FillRemoteList(true);
    } else if (kind == FileEntryKind::kFile) {
        ConfirmTransfer(3035, HINT_RECEIVE_SELECTED);
    }
    SetFocus(list_);
}

void FtpRemoteView::FillRemoteList(bool fetch)
{
    if (!list_)
        return;
    const unsigned fill = ++fills_;
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    FtpDocument& doc = Doc();
    if (fetch) {
        char directory[1024] = "";
        const int result = FtpPwd(directory, sizeof directory);
        const bool connected = result != kFtpNotConnected && result != kFtpNotStarted;
        const char* shown = !connected ? "Not connected" : directory[0] ? directory : "Not connected";
        if (Frame())
            SendMessageA(Frame()->Handle(), WM_SET_STATUS_TEXT, 1, reinterpret_cast<LPARAM>(shown));
        if (!connected)
            return;
        const int listed = FtpDir("*");
        if (listed == kFtpNotConnected || listed == kFtpNotStarted)
            return;
        if (fills_ != fill || !list_)
            return;  // filled anew (or closed) while the listing came
    }
    ListBoxModel model(list_);
    char name[1024], info[4096];
    int kind = 0;
    std::vector<PendingEntry> entries;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    if (doc.remoteShow) {
        model.Insert(model.Count(), "[..]");
        model.SetKind(model.Count() - 1, FileEntryKind::kParent);
        for (int more = ListingFindFirst("*", 1, name, sizeof name, info, sizeof info, &kind); more == 0;
             more = ListingParser(name, sizeof name, info, sizeof info, &kind))
            if (kind == kEntryDirectory)
                entries.push_back({RemoteEntry(name, true, info), FileEntryKind::kDirectory, false});
    }
    for (int more = ListingFindFirst(doc.remoteMask.c_str(), 0, name, sizeof name, info, sizeof info, &kind);
         more == 0; more = ListingParser(name, sizeof name, info, sizeof info, &kind)) {
        if (kind != kEntryFile)
            continue;
        const bool selected = !doc.remoteSelect.empty() && MatchMask(name, doc.remoteSelect.c_str(), 0);
        entries.push_back({RemoteEntry(name, false, info), FileEntryKind::kFile, selected});
    }
    if (!Append(entries, fill))
        return;
    // Room for a name of 25 characters (more when a name is longer), then the listing's columns:
    // modes, links, owner, group, size, month, day and time or year.
    static const int stops[] = {100, 148, 164, 200, 236, 288, 308, 324, 348};
    SetTabStops(stops, 9, entries);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    const int caret = CaretAfterFill(model);
    if (caret >= 0)
        SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    lastShow_ = doc.remoteShow;
}
