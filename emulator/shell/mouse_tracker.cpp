// The view's mouse; see mouse_tracker.h.
#include "shell/mouse_tracker.h"

#include "connections/session_replay.h"
#include "connections/variable_expander.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/status_view.h"
#include "session/session_record.h"
#include "shell/action_strings.h"
#include "shell/dyn_buttons.h"

int MouseCol = 1;
int MouseRow = 1;

namespace {

constexpr int kBoxEdit = 3;

// A click's cell goes to the host when the session asks for it or is a 3270 session.
bool SendsClicks() { return Rec->EnableSendMousePos || Rec->TerminalFamily3270; }

bool ButtonsActive()
{
    return !Rec->HistoryView && (Rec->EnableHotspots || Rec->EnableDynamicHotspots);
}

bool ColorIsEditBox(const int32_t* map, int index)
{
    return index >= 0 && index < kColorIndices && map[index] == kBoxEdit;
}

}  // namespace

void SendMouseClick(ViewWindow window, CellPoint cell, int kind, const std::string& clickText,
                    const std::string& doubleClickText)
{
    MouseCol = cell.col + 1;
    MouseRow = cell.row + 1;
    if (Rec->TerminalFamily3270) {
        Move3270Cursor(window, cell.row, cell.col);
        return;
    }
    const std::string& text = kind == kDoubleClick ? doubleClickText : clickText;
    if (!text.empty()) SendExpanded(window, text.c_str(), false);
}

bool IsInputCell(const SettingsRecord& rec, CellPoint cell)
{
    if (cell.row < 0 || cell.row >= rec.MaxRows || cell.col < 0 || cell.col >= rec.MaxCols) return false;
    const int address = cell.row * rec.MaxCols + cell.col;
    if (rec.TerminalFamily3270) return address < Tn3270State.BufferSize && Is3270InputPosition(address);
    if (!rec.FgScreen || !rec.BgScreen) return false;
    return ColorIsEditBox(rec.BoxMapFg, rec.FgScreen[address]) || ColorIsEditBox(rec.BoxMapBg, rec.BgScreen[address]);
}

DynButton* MouseTracker::HitButton(int x, int y, int mask)
{
    const ButtonGeometry g = host_.Buttons().Geometry();
    for (auto& entry : DynButtonMap)
        if (entry.second->HitTest(x, y, mask, g)) return entry.second.get();
    return nullptr;
}

bool MouseTracker::ButtonStillThere(const DynButton* button) const
{
    for (const auto& entry : DynButtonMap)
        if (entry.second.get() == button) return true;
    return false;
}

void MouseTracker::Repaint(const CellRect& cells)
{
    const PixelPoint scroll = host_.ScrollPosition();
    host_.InvalidateClient(SelectionRepaintRect(GridOf(*Rec), cells, scroll.x, scroll.y, dragging_));
}

void MouseTracker::SetSelection(const CellRect& cells)
{
    if (!Selection.IsNull()) Repaint(Selection);
    Selection = cells;
    Repaint(Selection);
}

void MouseTracker::ClearSelection()
{
    if (Selection.IsNull()) return;
    Repaint(Selection);
    Selection = CellRect{};
}

void MouseTracker::DropSelection()
{
    if (dragging_) {
        stepX_ = stepY_ = 0;
        host_.StopAutoScroll();
        host_.CaptureMouse(false);
        dragging_ = false;
    }
    pendingKind_ = kNoClick;
    ClearSelection();
}

void MouseTracker::SelectAll() { SetSelection(WholeScreen(*Rec)); }

void MouseTracker::LeftDown(int x, int y)
{
    if (ButtonsActive()) {
        if (DynButton* button = HitButton(x, y, 1)) {
            button->Press(host_.Buttons());
            pressed_ = button;
            return;
        }
    }
    StartSelection(x, y, kSingleClick);
}

void MouseTracker::LeftDoubleClick(int x, int y) { StartSelection(x, y, kDoubleClick); }

void MouseTracker::StartSelection(int x, int y, int kind)
{
    ClearSelection();
    host_.CaptureMouse(true);
    dragging_ = true;
    const PixelPoint scroll = host_.ScrollPosition();
    anchor_ = PixelPoint{x + scroll.x, y + scroll.y};
    host_.SetCursor(MouseCursor::Cross);
    if (SendsClicks()) {
        pendingKind_ = kind;
        pendingCell_ = PixelToCell(GridOf(*Rec), anchor_.x, anchor_.y);
    }
}

void MouseTracker::Move(int x, int y, unsigned flags)
{
    if (!dragging_) {
        TraceButtonActions(x, y);
        if (HitButton(x, y, 3)) {
            host_.SetCursor(MouseCursor::Button);
            return;
        }
        if (pressed_) {
            if (ButtonStillThere(pressed_)) pressed_->Release(host_.Buttons());
            pressed_ = nullptr;
        }
        if (Rec->TransferActive) {
            host_.SetCursor(MouseCursor::Transfer);
        } else if (SendsClicks()) {
            const PixelPoint scroll = host_.ScrollPosition();
            const CellPoint cell = PixelToCell(GridOf(*Rec), x + scroll.x, y + scroll.y);
            host_.SetCursor(IsInputCell(*Rec, cell) ? MouseCursor::IBeam : MouseCursor::Arrow);
        } else {
            host_.SetCursor(MouseCursor::Arrow);
        }
        return;
    }

    const PixelPoint scroll = host_.ScrollPosition();
    const PixelRect drag = NormalizeRect(PixelRect{anchor_.x, anchor_.y, x + scroll.x, y + scroll.y});
    const CellRect cells = PixelRectToCells(GridOf(*Rec), drag);
    if (cells != PaintedSelection) {
        ClearSelection();
        host_.UpdateNow();
        Selection = cells;
        Repaint(Selection);
        host_.UpdateNow();
    }

    const ViewExtent view = host_.Extent();
    stepX_ = x < 0 ? -Rec->CellWidth : (x > view.clientWidth && view.areaWidth > view.clientWidth ? Rec->CellWidth : 0);
    stepY_ = y < 0 ? -Rec->CellHeight
                   : (y > view.clientHeight && view.areaHeight > view.clientHeight ? Rec->CellHeight : 0);
    if (stepX_ || stepY_) {
        lastPoint_ = PixelPoint{x, y};
        lastFlags_ = flags;
        host_.ScrollBy(stepX_, stepY_);
        host_.StartAutoScroll();
    }
}

void MouseTracker::TraceButtonActions(int x, int y)
{
    if (!hotspotsTrace) return;
    const ButtonGeometry g = host_.Buttons().Geometry();
    for (const auto& entry : DynButtonMap) {
        const DynButton& b = *entry.second;
        if (!b.GetScreenRect(g).Contains(x, y)) continue;
        std::string text;
        const std::pair<const char*, const std::string*> actions[] = {
            {" Left:", &b.clickLeft}, {" Right:", &b.clickRight}, {" Left2:", &b.clickLeft2}, {" Right2:", &b.clickRight2}};
        for (const auto& action : actions)
            if (!action.second->empty()) text += action.first + *action.second;
        host_.ShowStatus(text);
        return;
    }
}

bool MouseTracker::AutoScrollTick(PixelPoint& point, unsigned& flags)
{
    if (!dragging_ || (stepX_ == 0 && stepY_ == 0)) return false;
    host_.StopAutoScroll();
    point = lastPoint_;
    flags = lastFlags_;
    return true;
}

void MouseTracker::LeftUp(int x, int y)
{
    if (dragging_) {
        stepX_ = stepY_ = 0;
        host_.StopAutoScroll();
        host_.CaptureMouse(false);
        dragging_ = false;
        if (Selection.IsEmpty()) {
            if (Rec->PlaybackState & kPlaybackPaused) {
                Rec->PlaybackState = 1;
                host_.PlaybackStep(true);
            } else if (SendsClicks() && pendingKind_ != kNoClick) {
                host_.SendMouseClick(pendingCell_, pendingKind_);
            }
        }
        pendingKind_ = kNoClick;
        if (Selection.IsEmpty()) ClearSelection();
        return;
    }
    if (!pressed_) return;
    DynButton* button = pressed_;
    pressed_ = nullptr;
    if (!ButtonStillThere(button)) return;
    button->Release(host_.Buttons());
    const PixelPoint scroll = host_.ScrollPosition();
    const CellPoint cell = PixelToCell(GridOf(*Rec), x + scroll.x, y + scroll.y);
    MouseCol = cell.col + 1;
    MouseRow = cell.row + 1;
    const std::string action = button->clickLeft;
    host_.RunButtonAction(action);
}

void MouseTracker::RightDown(int, int)
{
    if (!Selection.IsEmpty()) {
        host_.PostCommand(kCmdCopy);
        host_.PostCommand(kCmdPaste);
        return;
    }
    if (Rec->PlaybackState & kPlaybackPaused) {
        Rec->PlaybackState = 1;
        host_.PlaybackStep(false);
    }
}
