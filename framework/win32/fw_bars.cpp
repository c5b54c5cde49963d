#include "fw_bars.h"

#include <commctrl.h>

bool FwToolBar::Create(HWND parent, HINSTANCE instance, int bitmapId, int imageCount,
                       const std::vector<int>& commands, SIZE imageSize)
{
    window_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                              WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
                              instance, nullptr);
    if (!window_) return false;
    SendMessageA(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(window_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize.cx, imageSize.cy));
    TBADDBITMAP bitmap{instance, static_cast<UINT_PTR>(bitmapId)};
    if (SendMessageA(window_, TB_ADDBITMAP, imageCount, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int command : commands) {
        TBBUTTON button{};
        if (command == kSeparator) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    return SendMessageA(window_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

int FwToolBar::ButtonCount() const { return static_cast<int>(SendMessageA(window_, TB_BUTTONCOUNT, 0, 0)); }

int FwToolBar::CommandAt(int position) const
{
    TBBUTTON button{};
    if (!SendMessageA(window_, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&button))) return -1;
    return button.idCommand;
}

int FwToolBar::ButtonImage(int position) const
{
    TBBUTTON button{};
    if (!SendMessageA(window_, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&button))) return -1;
    return button.iBitmap;
}

void FwToolBar::SetButtonImage(int position, int image)
{
    const int command = CommandAt(position);
    if (command > 0) SendMessageA(window_, TB_CHANGEBITMAP, command, MAKELPARAM(image, 0));
}

void FwToolBar::SetButtonState(int command, bool enabled, bool checked)
{
    const LRESULT state = SendMessageA(window_, TB_GETSTATE, command, 0);
    if (state < 0) return;
    const LRESULT wanted = (state & ~(TBSTATE_ENABLED | TBSTATE_CHECKED)) | (enabled ? TBSTATE_ENABLED : 0) |
                           (checked ? TBSTATE_CHECKED : 0);
    if (wanted != state) SendMessageA(window_, TB_SETSTATE, command, wanted);
}

bool FwStatusBar::Create(HWND parent, const std::vector<int>& indicators, bool top, int id)
{
    const DWORD place = top ? CCS_TOP | CCS_NOPARENTALIGN | CCS_NORESIZE : CCS_BOTTOM;
    window_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | place, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (!window_) return false;
    indicators_ = indicators;
    // Text panes share what the indicators leave; each indicator is as wide as its text.
    widths_.clear();
    for (int id : indicators_) widths_.push_back(id == 0 ? 160 : 40);
    Relayout();
    return true;
}

void FwStatusBar::SetPaneWidth(int pane, int width)
{
    if (pane < 0 || pane >= PaneCount()) return;
    widths_[static_cast<std::size_t>(pane)] = width;
    Relayout();
}

void FwStatusBar::Relayout()
{
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    // The stretching pane takes what is left; the panes before it keep their widths from the left
    // edge, the panes after it from the right edge.
    std::vector<int> rights(indicators_.size());
    int left = 0;
    for (int i = 0; i < stretch_ && i < PaneCount(); ++i) {
        left += widths_[static_cast<std::size_t>(i)];
        rights[static_cast<std::size_t>(i)] = left;
    }
    int right = client.right;
    for (int i = PaneCount() - 1; i >= stretch_ && i >= 0; --i) {
        rights[static_cast<std::size_t>(i)] = i == PaneCount() - 1 ? -1 : right;
        if (i > stretch_) right -= widths_[static_cast<std::size_t>(i)];
    }
    SendMessageA(window_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void FwStatusBar::SetPaneText(int pane, const char* text)
{
    if (window_) SendMessageA(window_, SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(text ? text : ""));
}

bool FwStatusBar::PaneRect(int pane, RECT& rect) const
{
    return window_ && SendMessageA(window_, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&rect));
}

void FwStatusBar::UpdateIndicators()
{
    for (int i = 0; i < PaneCount(); ++i) {
        const int id = indicators_[static_cast<std::size_t>(i)];
        const char* text = nullptr;
        int key = 0;
        if (id == kIndicatorCaps) text = "CAP", key = VK_CAPITAL;
        else if (id == kIndicatorNum) text = "NUM", key = VK_NUMLOCK;
        else if (id == kIndicatorScroll) text = "SCRL", key = VK_SCROLL;
        if (!text) continue;
        char current[8] = {};
        SendMessageA(window_, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(current));
        const char* wanted = (GetKeyState(key) & 1) ? text : "";
        if (lstrcmpA(current, wanted) != 0) SetPaneText(i, wanted);
    }
}
