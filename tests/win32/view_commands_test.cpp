// The terminal view's own commands in the frame inside this process: the menu items of every
// language, the check marks and the update rules (also for commands that action strings post to
// the view), History Scrollback with its question, the window title, the margins of a maximised
// frame by AlignDisplay, the fonts, and Copy / Copy Table with the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/copy_table_dialog.h"
#include "engine/screen_planes.h"
#include "frame_in_process.h"
#include "host_platform.h"
#include "fw_dialog_test_hook.h"
#include "resource_ids.h"
#include "session/messages.h"
#include "shell/view_commands.h"
#include "shell/view_selection.h"
#include "shell/win32/win32_prompts.h"
#include "shell/win32/zolex_view.h"
#include "view_dialog_ids.h"

namespace {

constexpr int kViewCommands[] = {kViewSelectAll,        kViewClearSelection, kViewScaleFontToView, kViewSetTitle,
                                 kViewShowImage,        kViewFont80,         kViewFont132,         kViewFontCurrent,
                                 kViewResetEmulator,    kViewClearHotspots,  kViewFunctionButtons, kViewTraceKeyboard,
                                 kViewTraceVirtualKeys, kViewTraceHotspots,  kViewTraceTelnet,     kViewTraceNetFile,
                                 kViewCopy,             kViewCopyTable,      kViewPaste,           kViewHistoryScrollback,
                                 kViewScaleViewToFont,  kViewDosBox};

TEST(ViewMenus, EveryLanguageHoldsTheViewCommands)
{
    for (int menuId : {IDR_MENU_ENGLISH, IDR_MENU_SWEDISH, IDR_MENU_GERMAN, IDR_MENU_FRENCH, IDR_MENU_ITALIAN,
                       IDR_MENU_SPANISH, IDR_MENU_FINNISH, IDR_MENU_PORTUGUESE}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        ASSERT_NE(menu, nullptr) << menuId;
        for (int id : kViewCommands)
            EXPECT_NE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND), static_cast<UINT>(-1))
                << "menu " << menuId << " lacks " << id;
        DestroyMenu(menu);
    }
}

class ViewCommands : public FrameInProcess {
protected:
    ViewCommands()
    {
        FwSetDialogTestHook(&hook);
    }
    ~ViewCommands() override
    {
        SetPrompts(nullptr);
        FwSetDialogTestHook(nullptr);
        ForgetSelection();
        TableSettings = CopyTableSettings{};
    }
    HWND StartView(const std::string& lines = "")
    {
        frame_ = Start(lines);
        view_ = frame_ ? CMainFrame::Instance()->TerminalView() : nullptr;
        // The session's data files are not beside the test program: what start-up says of them
        // is not counted.
        hook.messages.clear();
        SetPrompts(&prompts);
        return frame_;
    }
    // The menu item's check mark after the menu was opened.
    bool Checked(int id)
    {
        SendMessageA(frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetMenu(frame_)), 0);
        return (GetMenuState(GetMenu(frame_), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool Enabled(int id)
    {
        SendMessageA(frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetMenu(frame_)), 0);
        return (GetMenuState(GetMenu(frame_), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    // From the menu (through the frame), or as an action string posts it (to the view).
    void Menu(int id) { SendMessageA(frame_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void Posted(int id) { SendMessageA(view_->Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void Write(int row, int col, const char* text)
    {
        std::memcpy(Rec->CharsScreen + row * Rec->MaxCols + col, text, std::strlen(text));
    }
    static std::string Clipboard(UINT format)
    {
        std::string text;
        if (!OpenClipboard(nullptr)) return "(locked)";
        if (HANDLE data = GetClipboardData(format)) {
            const char* p = static_cast<const char*>(GlobalLock(data));
            if (p) text.assign(p, GlobalSize(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }

    FwDialogTestHook hook;
    Win32Prompts prompts;
    HWND frame_ = nullptr;
    CZolexView* view_ = nullptr;
};

TEST_F(ViewCommands, TogglesShowTheirCheckMarks)
{
    ASSERT_NE(StartView(), nullptr);
    for (int id : {kViewTraceKeyboard, kViewTraceVirtualKeys, kViewTraceHotspots, kViewTraceTelnet, kViewTraceNetFile,
                   kViewShowImage, kViewScaleFontToView}) {
        const bool before = Checked(id);
        Menu(id);
        EXPECT_NE(Checked(id), before) << id;
        Menu(id);
        EXPECT_EQ(Checked(id), before) << id;
    }
    Menu(kViewTraceKeyboard);
    EXPECT_EQ(Rec->TraceAllKeyboard, 1);
    Menu(kViewTraceKeyboard);
    EXPECT_TRUE(view_->Mouse().hotspotsTrace == Checked(kViewTraceHotspots));
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(ViewCommands, LocksHoldForCommandsPostedToTheView)
{
    ASSERT_NE(StartView("AllowDOS=Yes\r\n"), nullptr);
    SetEnvironmentVariableA("COMSPEC", "C:\\windows\\system32\\hostname.exe");
    Rec->LockDosBox = 1;
    Rec->LockHistory = 1;
    Rec->HistoryRows = 20;
    EXPECT_FALSE(Enabled(kViewDosBox));
    EXPECT_FALSE(Enabled(kViewHistoryScrollback));
    Posted(kViewDosBox);
    Posted(kViewHistoryScrollback);
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Rec->HistoryView, 0);
    // Unlocked the Dos Box runs: command.com does not exist here, so its message, then COMSPEC.
    Rec->LockDosBox = 0;
    EXPECT_TRUE(Enabled(kViewDosBox));
    hook.messageAnswers.push_back(IDOK);
    Posted(kViewDosBox);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "WinExec \"command.com\" failed; error code = 2");
    EXPECT_EQ(hook.messages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    // Nothing selected: Copy and Copy Table are greyed.
    EXPECT_FALSE(Enabled(kViewCopy));
    EXPECT_FALSE(Enabled(kViewCopyTable));
    EXPECT_TRUE(Enabled(kViewPaste));
}

TEST_F(ViewCommands, HistoryScrollbackAsksForItsRows)
{
    ASSERT_NE(StartView(), nullptr);
    ASSERT_EQ(Rec->HistoryRows, 0);
    Rec->AllowCfg = 1;
    // Cancel leaves everything as it was.
    hook.Expect(IDD_HISTORY_ROWS, [](FwDialogDriver& d) { d.Press(IDCANCEL); });
    Menu(kViewHistoryScrollback);
    EXPECT_EQ(Rec->HistoryRows, 0);
    EXPECT_EQ(Rec->HistoryView, 0);
    // 401 is refused, 25 taken.
    std::string note;
    hook.messageAnswers.push_back(IDOK);
    hook.Expect(IDD_HISTORY_ROWS, [&](FwDialogDriver& d) {
        note = d.Text(IDC_HISTORY_ROWS_NOTE);
        d.SetText(IDC_HISTORY_ROWS, "401");
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_HISTORY_ROWS, "25");
        d.Press(IDOK);
    });
    Menu(kViewHistoryScrollback);
    EXPECT_NE(note.find("History scrollback buffer must be configured."), std::string::npos);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Please enter an integer between 0 and 400.");
    EXPECT_EQ(Rec->HistoryRows, 25);
    EXPECT_EQ(Rec->HistoryRowsAlloc, 25);
    EXPECT_EQ(Rec->HistoryView, 1);
    EXPECT_TRUE(Checked(kViewHistoryScrollback));
    EXPECT_TRUE(CMainFrame::Instance() && Checked(kViewHistoryScrollback));
    // Select all reaches the history rows.
    Menu(kViewSelectAll);
    EXPECT_EQ(Selection, (CellRect{0, -25, Rec->MaxCols, Rec->MaxRows}));
    Menu(kViewClearSelection);
    EXPECT_TRUE(Selection.IsEmpty());
    Menu(kViewHistoryScrollback);
    EXPECT_EQ(Rec->HistoryView, 0);
    EXPECT_EQ(hook.unexpectedDialogs, 0);
}

// A platform that has no memory for the screen planes; it keeps the ids of its messages.
class NoMemoryPlatform final : public HostPlatform {
public:
    int ScreenWidth() override { return 1024; }
    int WindowsCountry() override { return 1; }
    void ShowMessage(int stringId, const char*) override { messages.push_back(stringId); }
    void* AllocBlock(std::size_t) override { return nullptr; }
    std::vector<int> messages;
};

// No planes for the history asked for: the low-memory message, the main window is closed, and
// the record keeps naming the history it had (none), so a save writes no history it never got.
TEST_F(ViewCommands, HistoryScrollbackWithoutMemoryKeepsTheRows)
{
    ASSERT_NE(StartView(), nullptr);
    ASSERT_EQ(Rec->HistoryRows, 0);
    Rec->AllowCfg = 1;
    hook.Expect(IDD_HISTORY_ROWS, [](FwDialogDriver& d) {
        d.SetText(IDC_HISTORY_ROWS, "25");
        d.Press(IDOK);
    });
    HostPlatform& installed = Platform();
    NoMemoryPlatform platform;
    SetPlatform(&platform);
    Menu(kViewHistoryScrollback);
    SetPlatform(&installed);
    EXPECT_EQ(platform.messages, std::vector<int>{83});
    EXPECT_EQ(Rec->HistoryRows, 0);
    EXPECT_EQ(Rec->HistoryView, 0);
    EXPECT_EQ(hook.unexpectedDialogs, 0);
    MSG close;
    EXPECT_TRUE(PeekMessageA(&close, frame_, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(ViewCommands, TitleTextFromItsDialog)
{
    ASSERT_NE(StartView(), nullptr);
    hook.messageAnswers.push_back(IDOK);
    hook.Expect(IDD_WINDOW_TITLE, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "WINDOW TITLE");
        d.SetText(IDC_WINDOW_TITLE, std::string(81, 'x'));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_WINDOW_TITLE, "Payroll host");
        d.Press(IDOK);
    });
    Menu(kViewSetTitle);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Please enter no more than 80 characters.");
    EXPECT_EQ(TitleText, "Payroll host");
    char title[256] = {};
    GetWindowTextA(frame_, title, sizeof title);
    EXPECT_NE(std::string(title).find("Payroll host"), std::string::npos) << title;
    hook.Expect(IDD_WINDOW_TITLE, [](FwDialogDriver& d) {
        d.SetText(IDC_WINDOW_TITLE, "other");
        d.Press(IDCANCEL);
    });
    Menu(kViewSetTitle);
    EXPECT_EQ(TitleText, "Payroll host");
}

struct AlignCase {
    int align;
    char horizontal, vertical;  // 'l'eft/'c'entre/'r'ight, 't'op/'m'iddle/'b'ottom
};

class AlignDisplay : public ViewCommands, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(AlignDisplay, PlacesTheTextInAMaximisedFrame)
{
    const AlignCase& c = GetParam();
    ASSERT_NE(StartView("AlignDisplay=" + std::to_string(c.align) + "\r\nFrameSize=6\r\n"), nullptr);
    ShowWindow(frame_, SW_SHOWNORMAL);
    Pump(100);
    EXPECT_EQ(Rec->LeftMargin, 6);
    EXPECT_EQ(Rec->TopMargin, 6);
    EXPECT_EQ(Rec->RightMargin, 6);
    EXPECT_EQ(Rec->BottomMargin, 6);
    ShowWindow(frame_, SW_MAXIMIZE);
    Pump(200);
    ASSERT_TRUE(IsZoomed(frame_));
    const int left = Rec->LeftMargin, right = Rec->RightMargin, top = Rec->TopMargin, bottom = Rec->BottomMargin;
    ASSERT_GT(left + right, 12);
    ASSERT_GT(top + bottom, 12);
    if (c.horizontal == 'l') EXPECT_EQ(left, 6);
    if (c.horizontal == 'c') EXPECT_LE(std::abs(left - right), 1);
    if (c.horizontal == 'r') EXPECT_EQ(right, 6);
    if (c.vertical == 't') EXPECT_EQ(top, 6);
    if (c.vertical == 'm') EXPECT_LE(std::abs(top - bottom), 1);
    if (c.vertical == 'b') EXPECT_EQ(bottom, 6);
    ShowWindow(frame_, SW_RESTORE);
    Pump(100);
    EXPECT_EQ(Rec->LeftMargin, 6);
    EXPECT_EQ(Rec->BottomMargin, 6);
}

INSTANTIATE_TEST_SUITE_P(Tolvi, AlignDisplay,
                         ::testing::Values(AlignCase{0, 'l', 't'}, AlignCase{4, 'c', 'm'}, AlignCase{8, 'r', 'b'}));

// Answers the font dialog from another thread, as a user would: OK or Cancel.
class FontDialogAnswer {
public:
    explicit FontDialogAnswer(int button)
        : thread_([this, button] {
              for (int i = 0; i < 200 && !stop_; ++i) {
                  HWND dialog = FindWindowA("#32770", "Font");
                  if (dialog && IsWindowVisible(dialog)) {
                      Sleep(200);
                      PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
                      answered = true;
                      return;
                  }
                  Sleep(50);
              }
          })
    {
    }
    ~FontDialogAnswer()
    {
        stop_ = true;
        thread_.join();
    }
    std::atomic<bool> answered{false};

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(ViewCommands, Font132SwitchesTheWidthAndBackOnCancel)
{
    ASSERT_NE(StartView(), nullptr);
    ASSERT_EQ(Rec->MaxCols, 80);
    Selection = CellRect{1, 1, 4, 4};
    {
        FontDialogAnswer cancel(IDCANCEL);
        Menu(kViewFont132);
        EXPECT_TRUE(cancel.answered);
    }
    EXPECT_EQ(Rec->MaxCols, 80);
    EXPECT_TRUE(Selection.IsNull());  // the width changed meanwhile
    {
        FontDialogAnswer ok(IDOK);
        Menu(kViewFont132);
        EXPECT_TRUE(ok.answered);
    }
    EXPECT_EQ(Rec->MaxCols, 132);
    EXPECT_NE(Rec->Font132Cols.FaceName[0], 0);
    EXPECT_TRUE(CMainFrame::Instance() != nullptr);
}

TEST_F(ViewCommands, CopyAndCopyTableFillTheClipboard)
{
    ASSERT_NE(StartView(), nullptr);
    std::memset(Rec->CharsScreen, ' ', static_cast<std::size_t>(Rec->MaxRows * Rec->MaxCols));
    Write(2, 10, "abc");
    Write(3, 10, "def");
    Write(6, 0, "  12 -3 ab cd   7");
    view_->Mouse().SetSelection(CellRect{10, 2, 13, 4});
    EXPECT_TRUE(Enabled(kViewCopy));
    Menu(kViewCopy);
    EXPECT_EQ(Clipboard(CF_TEXT), std::string("abc\r\ndef\0", 9));
    EXPECT_TRUE(Selection.IsEmpty());
    EXPECT_FALSE(Enabled(kViewCopy));

    // The C/C++ preset, shown at once and copied with "OK, Copy".
    view_->Mouse().SetSelection(CellRect{0, 6, 20, 7});
    hook.Expect(IDD_COPY_TABLE, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_TABLE_SEPARATOR), "<tab>");
        EXPECT_TRUE(d.Checked(IDC_TABLE_REMOVE_LEADING));
        d.Click(IDC_TABLE_CPP);
        EXPECT_EQ(d.Text(IDC_TABLE_SEPARATOR), "<nul>");
        EXPECT_FALSE(d.Checked(IDC_TABLE_REMOVE_LEADING));
        EXPECT_TRUE(d.Checked(IDC_TABLE_REMOVE_TRAILING));
        EXPECT_TRUE(d.Checked(IDC_TABLE_END_CRLF));
        EXPECT_TRUE(d.Checked(IDC_TABLE_SINGLE_SPACE));
        EXPECT_EQ(d.Text(IDOK), "OK, Copy");
        d.Press(IDOK);
    });
    Menu(kViewCopyTable);
    EXPECT_EQ(TableSettings.separator, "<nul>");
    EXPECT_EQ(Clipboard(CF_TEXT).c_str(), std::string("  12 -3 ab cd   7"));

    // Cancel copies nothing and keeps the selection.
    view_->Mouse().SetSelection(CellRect{0, 6, 20, 7});
    hook.Expect(IDD_COPY_TABLE, [](FwDialogDriver& d) {
        d.Click(IDC_TABLE_SPREADSHEET);
        d.Press(IDCANCEL);
    });
    Menu(kViewCopyTable);
    EXPECT_EQ(TableSettings.separator, "<nul>");
    EXPECT_FALSE(Selection.IsEmpty());

    // An OEM font copies OEM text.
    Rec->CurrentFont.CharSet = 255;
    Menu(kViewCopy);
    OpenClipboard(nullptr);
    EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_OEMTEXT));
    CloseClipboard();
    Rec->CurrentFont.CharSet = 0;
    EXPECT_EQ(hook.unexpectedDialogs, 0);
}

TEST_F(ViewCommands, LockedClipboardKeepsTheSelection)
{
    ASSERT_NE(StartView(), nullptr);
    view_->Mouse().SetSelection(CellRect{0, 0, 3, 1});
    std::atomic<bool> holding{false}, release{false};
    std::thread holder([&] {
        if (!OpenClipboard(nullptr)) return;
        holding = true;
        while (!release) Sleep(10);
        CloseClipboard();
    });
    while (!holding) Sleep(10);
    hook.messageAnswers.push_back(IDOK);
    Menu(kViewCopy);
    release = true;
    holder.join();
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Clipboard locked by some other application.\nUnable to copy data.");
    EXPECT_EQ(Selection, (CellRect{0, 0, 3, 1}));
}

}  // namespace
