// The terminal view (CZolexView): paints the screen planes as a grid of character cells inside
// the frame's margins, places the caret, turns keys into bytes for the host, runs the replay's
// timer and the start-up sequence, and is the connection layer's view.
#pragma once

#include <windows.h>

#include <climits>
#include <memory>
#include <vector>

#include "connections/connection_view.h"
#include "connections/session_replay.h"
#include "shell/dyn_buttons.h"
#include "shell/dyn_hotspots.h"
#include "shell/keyboard_input.h"
#include "shell/mouse_tracker.h"
#include "shell/view_layout.h"
#include "shell/win32/masked_bitmap.h"

class CZolexDoc;

struct FwCmdUI;

class CZolexView : public ConnectionView, public PlaybackHost, public KeyboardSystem, public ButtonView, public MouseHost {
public:
    explicit CZolexView(CZolexDoc* doc);
    ~CZolexView() override;

    // Registers the window class (once) and creates the view as a child of `parent`.
    HWND Create(HWND parent, int id);
    HWND Handle() const { return window_; }
    static CZolexView* Active();

    // The whole OnDraw: the cells under the clip box, the frame, the caret. Returns 1.
    int PaintScreen(HDC dc);
    // Font, cell metrics and document size from the column count's font. Returns 1.
    int ResetTTYScreen(HDC dc);
    // Colours and geometry after a settings change (runs while FrameRefitPending is set).
    void OnUpdate();
    // Start-up: rings, palette, first update, then the start-up actions.
    void OnInitialUpdate();
    // Start-up playback file, then Play/Record at start-up and Connect; called again by the replay
    // when a played file ends.
    void RunStartupActions();
    void UpdateCaretPos();
    // Spares and margins from the frame's state (maximised: placed by AlignDisplay); without
    // keepSize also the document size.
    void RecalcFramesize(bool keepSize);
    // The logo picture of the frame (step of the initial update; kept once loaded).
    void LoadLogo();
    // Runs an action string as a key without a code would.
    int RunActionString(const char* text);
    // The frame's client size that shows the whole document.
    SIZE DocumentSize() const { return docSize_; }

    // ---- ConnectionView.
    ViewWindow Window() override;
    void RefreshTitle() override;
    void IdlePass() override;
    bool ConfirmAbortConnect() override;
    void SetBusyCursor(bool on) override;
    void PostCloseMainWindow() override;
    void PostFrameCommand(unsigned command) override;
    void InvalidateScreen() override;
    void UpdateView() override;
    void SetViewFocus(bool on) override;
    void DelayMs(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
    void SetStatusPane(const char* text, int pane, unsigned textColor, unsigned backColor) override;
    bool AskHostName(char* host, std::size_t size) override;

    // ---- ButtonView: the screen buttons are painted over the view.
    ButtonGeometry Geometry() override;
    void InvalidateButton(const ButtonRect& rect) override;
    void PaintButton(const DynButton& button) override;
    // DynButton::SetState with `kind` on every button of placement mode `lowestMode` and up.
    void SetButtonsShown(int lowestMode, int kind);

    // ---- PlaybackHost.
    bool StartTimer(int milliseconds) override;
    void KillTimer() override;
    void PlayBytes(const uint8_t* bytes, int count) override;
    void PrivateCommand3270(const uint8_t* bytes, int count) override;
    void Repaint() override;
    void ShowMessage(int stringId, const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void SetProgress(int percent) override;
    void SetPlayingFile(const std::string& name) override;
    void CloseMainWindow() override { PostCloseMainWindow(); }
    void ReplayEnded() override;

    // ---- KeyboardSystem and ActionTarget.
    void PostCommand(int id) override;
    void FlushPrintScreen() override;
    bool SendSerialBreak() override;
    void ToggleScrollLock() override;
    bool ScrollLockOn() override;
    void ToggleNumLock() override;
    void RearmReceive() override;
    void ToggleMenuBar() override;
    void SelectAll() override { mouse_.SelectAll(); }
    void ClearSelection() override { mouse_.ClearSelection(); }
    void DropSelection() { mouse_.DropSelection(); }
    void HistoryOn() override;
    void ScrollViewBy(int dx, int dy) override;
    void ToggleScreen() override;
    void HotLoad() override;
    int MouseRow() override { return ::MouseRow; }
    int MouseCol() override { return ::MouseCol; }
    void Feed(const uint8_t* bytes, int n) override;
    void Send(const uint8_t* bytes, int n) override;
    ModifierKeys Modifiers() override;
    bool KeyIsDown(int virtualKey) override;
    int CharOfKey(int virtualKey) override;
    void RepaintAll() override;
    void PlaybackStep(bool singleStep) override;
    void CloseAllPlayFiles() override;
    uint8_t AnsiToOem(uint8_t byte) override;
    const KeyMap* Keys() override;
    const KeyDefTable* KeyDefinitions() override;

    // ---- MouseHost.
    ButtonView& Buttons() override { return *this; }
    PixelPoint ScrollPosition() override { return PixelPoint{scrollX_, scrollY_}; }
    ViewExtent Extent() override;
    void InvalidateClient(const PixelRect& rect) override;
    void UpdateNow() override;
    void CaptureMouse(bool on) override;
    void SetCursor(MouseCursor cursor) override;
    void ScrollBy(int dx, int dy) override { ScrollViewBy(dx, dy); }
    void StartAutoScroll() override;
    void StopAutoScroll() override;
    void SendMouseClick(CellPoint cell, int kind) override;
    void RunButtonAction(const std::string& action) override { RunActionString(action.c_str()); }
    void ShowStatus(const std::string& text) override { SetStatusPane(text.c_str(), 0, 0, 0); }

    // The view's own commands (View, Special, Edit and the fonts): the update rule of one (false
    // when the id is none of them), and running one, which its rule must allow.
    bool UpdateViewCommand(int id, FwCmdUI& ui);
    bool RunViewCommand(int id);

    // Edit/Copy and Copy Table's copy: the selection to the clipboard (as a table with `table`).
    void CopySelection(bool table);
    void OnEditPaste();
    void OnCopyTable();
    // A font for `columns` columns from the font dialog (switching the width first).
    void ChooseFontForColumns(int columns);
    LOGFONTA FontInUse();
    void OnHistoryScrollback();
    MouseTracker& Mouse() { return mouse_; }

private:
    // Config/Preferences/Asynch filetransfer: General setup, Kermit, X/Y-Modem, Z-Modem.
    void OnTransferSettings();
    void OnKermitSettings();
    void OnXYModemSettings();
    void OnZModemSettings();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(int id);
    void OnPlayRecording();
    void OnDialCountdown();
    void OnKermitTransfer();
    void OnSetFocus();
    void OnKillFocus();
    void OnSize();
    void OnDestroy();
    void OnDosBox();
    void OnSetTitle();
    void OnFunctionButtons();
    bool OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RefitAndUpdate();
    // The refit after a size, font or mode change (the frame keeps its size unless
    // ResizeParentNow is set).
    void Refit();
    void FitFrameToDocument();
    void FitFrameToFont();
    static SIZE CellSizeOf(HDC dc, const LOGFONTA& font);
    SIZE ViewRoom(bool maximised) const;
    void UpdateScrollBars();
    struct RowPlanes;
    void PaintRow(HDC dc, int row, int rowOffset, const CellSpan& span, const RowPlanes& planes, bool& boxInvalidated);
    void DrawRunText(HDC dc, uint8_t cellFlags, int col, int row, const char* text, int length);
    void DrawLineGraphics(HDC dc, const RECT& cell, uint8_t character);
    void DrawTrueUnderline(HDC dc, const RECT& cells);
    void DrawBoxEdges(HDC dc, RECT r, bool leftEdge, bool rightEdge, int kind);
    void DrawFrame(HDC dc, RECT r);
    void PaintBeyondDocument(HDC dc, const RECT& document);
    void DrawSelectionFrame(HDC dc, RECT r);
    void PaintSelection(HDC dc);
    void PaintButtons(HDC dc, const RECT& clip);
    void CreateDynamicHotspot(const HotspotWord& word);
    RECT CellsToPixels(int firstCol, int lastCol, int row) const;
    GridMargins Margins() const;

    CZolexDoc* doc_;
    HWND window_ = nullptr;
    HFONT screenFont_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT fontBeforeBold_ = nullptr;
    int lastRunFlags_ = -1;
    HDC paintDc_ = nullptr;  // while painting: buttons made meanwhile are painted into it
    int startupStep_ = 0;
    bool boxRepaintPending_ = false;
    SIZE docSize_ = {0, 0};
    int scrollX_ = 0, scrollY_ = 0;
    // Where history scroll-back was last scrolled to; it opens there, the first time at the
    // bottom (the screen).
    int historyScrollX_ = 0, historyScrollY_ = INT_MAX;
    // When the view was last painted (GetTickCount): a flood of host data is painted at most once
    // a frame, the rest of the changes gather in the update region until then.
    DWORD lastPaintTick_ = 0;
    std::unique_ptr<CMaskedBitmap> logo_;
    KeyboardInput keyboard_;
    std::string lastPlayFile_;
    // Font sizes of the view's font scaling, 80 and 132 columns (see FittingFontHeight).
    std::vector<uint32_t> fontSizes80_, fontSizes132_;
    MouseTracker mouse_{*this};
    HCURSOR cursor_ = nullptr;
    bool wasMaximised_ = false;
    void ScaleFontToView(HDC dc);
    const std::vector<uint32_t>& FontSizes(HDC dc);
};
