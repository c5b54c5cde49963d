// The terminal view's mouse, window-free: a left press either presses a screen button or starts
// a selection drag; moving while dragging grows the selection (scrolling the view while the
// mouse is outside it); the release ends the drag, and a click that selected nothing sends its
// cell to the host or steps a paused playback; a right press types the selection to the host.
// Without a drag, moving over buttons picks the cursor and a trace of their actions.
//
// Points are client pixels of the view; the tracker adds the scroll position itself.
#pragma once

#include <string>

#include "engine/engine_types.h"
#include "shell/view_selection.h"

class ButtonView;
class DynButton;

enum class MouseCursor { Arrow, IBeam, Cross, Button, Transfer };

// A click's kind: 1 a single click, 2 a double click.
enum MouseClickKind : int { kNoClick = 0, kSingleClick = 1, kDoubleClick = 2 };

// The view's size as the auto-scroll needs it.
struct ViewExtent {
    int clientWidth = 0, clientHeight = 0;
    int areaWidth = 0, areaHeight = 0;  // the scroll area
};

// What the tracker asks of the view window.
class MouseHost {
public:
    virtual ~MouseHost() = default;
    virtual ButtonView& Buttons() = 0;
    virtual PixelPoint ScrollPosition() = 0;
    virtual ViewExtent Extent() = 0;
    // Repaints a client rectangle without erasing; UpdateNow paints what is invalid at once.
    virtual void InvalidateClient(const PixelRect& rect) = 0;
    virtual void UpdateNow() = 0;
    virtual void CaptureMouse(bool on) = 0;
    virtual void SetCursor(MouseCursor cursor) = 0;
    virtual void ScrollBy(int dx, int dy) = 0;
    // The auto-scroll timer (every 100 ms while it runs).
    virtual void StartAutoScroll() = 0;
    virtual void StopAutoScroll() = 0;
    virtual void PlaybackStep(bool singleStep) = 0;
    // The clicked cell (0-based) to the host: SendMouseClick of the view.
    virtual void SendMouseClick(CellPoint cell, int kind) = 0;
    virtual void RunButtonAction(const std::string& action) = 0;
    // Status pane 0 (the HotSpots trace).
    virtual void ShowStatus(const std::string& text) = 0;
    // Posts a command to the view (Copy and Paste of a right click).
    virtual void PostCommand(int id) = 0;
};

// The cell of the last click (1-based), read by %row% and %col%.
extern int MouseCol;
extern int MouseRow;

// SendMouseClick of the view: MouseCol/MouseRow := the cell + 1; in 3270 mode the cursor moves to
// the cell, otherwise the click string of the kind (variables expanded) goes to the host.
void SendMouseClick(ViewWindow window, CellPoint cell, int kind, const std::string& clickText,
                    const std::string& doubleClickText);

// True when a cell takes input: in 3270 mode a cell of an unprotected field (an attribute position
// is protected), otherwise a cell whose colours are marked as an edit box.
bool IsInputCell(const SettingsRecord& rec, CellPoint cell);

class MouseTracker {
public:
    explicit MouseTracker(MouseHost& host) : host_(host) {}

    void LeftDown(int x, int y);
    void LeftDoubleClick(int x, int y);
    void LeftUp(int x, int y);
    void Move(int x, int y, unsigned flags);
    void RightDown(int x, int y);
    // The auto-scroll timer's tick: true, with the saved mouse move, when the move is to be sent
    // again (the timer is stopped; the move starts it again while the mouse stays outside).
    bool AutoScrollTick(PixelPoint& point, unsigned& flags);

    void SetSelection(const CellRect& cells);
    void ClearSelection();
    // The screen changed its size or kind: the selection goes, and so does a drag under way with
    // the click it would have sent on release.
    void DropSelection();
    void SelectAll();

    bool Dragging() const { return dragging_; }
    int PendingKind() const { return pendingKind_; }
    const DynButton* PressedButton() const { return pressed_; }
    // Forgets a pressed button that is going away.
    void ForgetButton(const DynButton* button)
    {
        if (pressed_ == button) pressed_ = nullptr;
    }

    bool hotspotsTrace = false;  // Special/Trace/HotSpots

private:
    void StartSelection(int x, int y, int kind);
    void Repaint(const CellRect& cells);
    // The button of the map hit with the mask, in map order; null when none.
    DynButton* HitButton(int x, int y, int mask);
    bool ButtonStillThere(const DynButton* button) const;
    void TraceButtonActions(int x, int y);

    MouseHost& host_;
    bool dragging_ = false;
    PixelPoint anchor_;
    int stepX_ = 0, stepY_ = 0;
    PixelPoint lastPoint_;
    unsigned lastFlags_ = 0;
    int pendingKind_ = kNoClick;
    CellPoint pendingCell_;
    DynButton* pressed_ = nullptr;
};
