// The terminal view's own commands (View, Special, the Edit commands and the fonts) with their
// update rules, which also hold for a command an action string posts to the view.
#include "shell/win32/zolex_view.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <commdlg.h>

#include "connections/connection_dispatch.h"
#include "connections/session_replay.h"
#include "connections/telnet_trace.h"
#include "dialogs/history_rows_dialog.h"
#include "dialogs/win32/history_rows_dialog.h"
#include "dialogs/win32/title_dialog.h"
#include "engine/charsets.h"
#include "engine/host_commands/command_helpers.h"
#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/screen_planes.h"
#include "fw_frame.h"
#include "session/messages.h"
#include "session/session_record.h"
#include "shell/session_document.h"
#include "shell/screen_dump.h"
#include "shell/startup_state.h"
#include "shell/view_commands.h"
#include "shell/win32/main_frame.h"

namespace {

constexpr int kHistoryWarning = 84;

ViewCommandInputs Inputs(const MouseTracker& mouse)
{
    ViewCommandInputs in;
    in.selection = !Selection.IsEmpty();
    in.pastePending = PastePending();
    in.hotspotsTrace = mouse.hotspotsTrace;
    in.showImage = ShowLogoImage != 0;
    in.telnetTrace = NetTraceOn();
    in.netTraceToFile = NetTraceToFile();
    return in;
}

void Toggle(int32_t& flag) { flag = flag ? 0 : 1; }

}  // namespace

bool CZolexView::UpdateViewCommand(int id, FwCmdUI& ui)
{
    ViewCommandUI rule;
    if (!ViewCommandUpdate(id, *Rec, Inputs(mouse_), rule)) return false;
    ui.Enable(rule.enabled);
    if (rule.checked >= 0) ui.SetCheck(rule.checked);
    return true;
}

bool CZolexView::RunViewCommand(int id)
{
    ViewCommandUI rule;
    if (!ViewCommandUpdate(id, *Rec, Inputs(mouse_), rule)) return false;
    if (!rule.enabled) return true;
    switch (id) {
    case kViewCopy: CopySelection(false); break;
    case kViewCopyTable: OnCopyTable(); break;
    case kViewPaste: OnEditPaste(); break;
    case kViewSelectAll: mouse_.SelectAll(); break;
    case kViewClearSelection: mouse_.ClearSelection(); break;
    case kViewResetEmulator:
        ResetTerminal();
        InvalidateRect(window_, nullptr, TRUE);
        break;
    case kViewHistoryScrollback: OnHistoryScrollback(); break;
    case kViewScaleFontToView:
        Toggle(Rec->ScaleFontToView);
        RefitAndUpdate();
        break;
    case kViewScaleViewToFont:
        // The window takes the size of the font: the configured one when the font follows the
        // view, else the font in use.
        Refit();
        if (Rec->ScaleFontToView) FitFrameToFont();
        else FitFrameToDocument();
        break;
    case kViewFont80: ChooseFontForColumns(80); break;
    case kViewFont132: ChooseFontForColumns(132); break;
    case kViewFontCurrent: ChooseFontForColumns(Rec->MaxCols); break;
    case kViewSetTitle: OnSetTitle(); break;
    case kViewDosBox: OnDosBox(); break;
    case kViewShowImage:
        ShowLogoImage = ShowLogoImage ? 0 : 1;
        InvalidateRect(window_, nullptr, TRUE);
        break;
    case kViewClearHotspots:
        DeleteDynButtonsById(0);
        InvalidateRect(window_, nullptr, TRUE);
        break;
    case kViewFunctionButtons: OnFunctionButtons(); break;
    case kViewTraceKeyboard: Toggle(Rec->TraceAllKeyboard); break;
    case kViewTraceVirtualKeys: Toggle(Rec->TraceVirtualKeys); break;
    case kViewTraceHotspots: mouse_.hotspotsTrace = !mouse_.hotspotsTrace; break;
    case kViewTraceTelnet: SetNetTraceOn(!NetTraceOn()); break;
    case kViewTraceNetFile: SetNetTraceFile(NetTraceToFile() ? 0 : 1); break;
    default: break;
    }
    return true;
}

void CZolexView::RefitAndUpdate()
{
    FrameRefitPending = 1;
    OnUpdate();
    InvalidateRect(window_, nullptr, TRUE);
}

void CZolexView::OnHistoryScrollback()
{
    HWND frame = GetParent(window_);
    if (!Rec->HistoryView && Rec->HistoryRows == 0 && Rec->AllowCfg && !Rec->LockHistory) {
        CHistoryRowsDlg dialog(frame);
        if (dialog.DoModal() != IDOK || dialog.rows == 0) return;
        const int oldRows = Rec->HistoryRows;
        Rec->HistoryRows = dialog.rows;
        if (!AllocScreenBuffers()) {
            // The record keeps naming the history it had.
            Rec->HistoryRows = oldRows;
            PostCloseMainWindow();
            return;
        }
        if (doc_) doc_->SetModifiedFlag(true);
    }
    Rec->HistoryView = Rec->HistoryView ? 0 : 1;
    // The document's height must be a size the view can scroll.
    const long long height =
        static_cast<long long>(Rec->HistoryRowsAlloc + Rec->MaxRows) * Rec->CellHeight + 2LL * Rec->TopMargin;
    const long long width = static_cast<long long>(Rec->MaxCols) * Rec->CellWidth + 2LL * Rec->LeftMargin;
    if (Rec->HistoryView && (height > INT_MAX || width > INT_MAX || height < 0 || width < 0)) {
        ::ShowMessage(kHistoryWarning, kMsgOk | kMsgIconExclamation, "- History lines/Fontsize: %d/%d",
                      static_cast<int>(Rec->HistoryRowsAlloc), static_cast<int>(Rec->CellHeight));
        Rec->HistoryView = 0;
        return;
    }
    RecalcFramesize(false);
    if (Rec->HistoryView && frame && !IsZoomed(frame)) {
        RECT r;
        GetWindowRect(frame, &r);
        SetWindowPos(frame, nullptr, 0, 0, r.right - r.left + GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RefitAndUpdate();
}

void CZolexView::OnSetTitle()
{
    CTitleDlg dialog(GetParent(window_));
    dialog.title = TitleText;
    if (dialog.DoModal() != IDOK) return;
    TitleText = dialog.title;
    RefreshTitle();
}

// The command interpreter of the system; "command.com" first, as sessions have always asked for
// it, then the interpreter COMSPEC names where that one does not exist (64-bit Windows).
void CZolexView::OnDosBox()
{
    const UINT result = WinExec("command.com", SW_SHOWNORMAL);
    if (result >= 32) return;
    char text[96];
    std::snprintf(text, sizeof text, "WinExec \"command.com\" failed; error code = %u", result);
    FwMessageBox(GetParent(window_), text, MB_OK | MB_ICONSTOP, "Error");
    if (result != ERROR_FILE_NOT_FOUND) return;
    char comspec[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec)) std::strcpy(comspec, "cmd.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(comspec, nullptr, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void CZolexView::OnFunctionButtons()
{
    std::string file;
    if (doc_) {
        if (Rec->EnableButtonPanel) file = doc_->strings.ButtonFile;
        if (file.empty()) file = doc_->GetButtonFileName(false);
        if (file.empty()) file = doc_->GetButtonFileName(true);
    }
    if (!file.empty() && OpenPlayFile(file.c_str(), 0)) StartTimer(1);
}

// The screen font as the font mapper made it: its real face, size and weight (the configured
// face may not exist here, and the size follows the view while Scale Font to View is on).
LOGFONTA CZolexView::FontInUse()
{
    LOGFONTA font;
    std::memcpy(&font, &Rec->CurrentFont, sizeof font);
    if (!screenFont_ || !window_) return font;
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, screenFont_);
    TEXTMETRICA tm{};
    char face[LF_FACESIZE] = {};
    if (GetTextMetricsA(dc, &tm) && GetTextFaceA(dc, sizeof face, face) > 0) {
        std::memcpy(font.lfFaceName, face, sizeof face);
        // The height asked for made this font; only the face's default (0) is spelt out.
        if (font.lfHeight == 0) font.lfHeight = -(tm.tmHeight - tm.tmInternalLeading);
        font.lfWeight = tm.tmWeight;
        font.lfItalic = tm.tmItalic;
        font.lfCharSet = tm.tmCharSet;
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return font;
}

void CZolexView::ChooseFontForColumns(int columns)
{
    const int oldColumns = Rec->MaxCols;
    bool switched = false;
    if (columns != Rec->MaxCols && SetColumns(columns) == columns) {
        switched = true;
        RefitAndUpdate();
        RefitAndUpdate();
    }
    LOGFONTA font = FontInUse();
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetParent(window_);
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&choose)) {
        if (switched) {
            SetColumns(oldColumns);
            RefitAndUpdate();
        }
        return;
    }
    const bool wasAnsi = AnsiTypeFont(*Rec);
    std::memcpy(&Rec->CurrentFont, &font, sizeof font);
    const bool isAnsi = AnsiTypeFont(*Rec);
    if (wasAnsi != isAnsi && Rec->CharsScreen && Rec->FlagsScreen) {
        // The visible cells in the new font's character set (line-drawing cells keep theirs).
        for (int i = 0; i < Rec->MaxRows * Rec->MaxCols; ++i) {
            if (Rec->FlagsScreen[i] & kCellLineDrawing) continue;
            uint8_t converted = Rec->CharsScreen[i];
            int flags = Rec->FlagsScreen[i];
            if (wasAnsi) AnsiToOemLineDraw(Rec->CharsScreen[i], converted, flags, *Rec, 1);
            else OemToAnsiLineDraw(Rec->CharsScreen[i], converted, flags, *Rec, 1);
            Rec->CharsScreen[i] = converted;
        }
    }
    if (doc_) doc_->SetModifiedFlag(true);
    const int32_t resize = Rec->ResizeParentNow;
    Rec->ResizeParentNow = Rec->ResizeWhenFontChange;
    if (Rec->MaxCols == 80) {
        std::memcpy(&Rec->Font80Cols, &font, sizeof font);
        fontSizes80_.clear();
    } else {
        std::memcpy(&Rec->Font132Cols, &font, sizeof font);
        fontSizes132_.clear();
    }
    Build3270CodeTables(Rec->Charset3270 - 5, CodeTableColumnForFont(font.lfCharSet));
    RefitAndUpdate();
    RefitAndUpdate();
    if (Rec->ResizeParentNow) FitFrameToDocument();
    Rec->ResizeParentNow = resize;
}

void CZolexView::FlushPrintScreen() { FlushScreenDump(); }
