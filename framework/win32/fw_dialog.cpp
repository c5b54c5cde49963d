#include "fw_dialog.h"

#include "fw_app.h"
#include "fw_bitmap_button.h"
#include "fw_dialog_test_hook.h"

namespace {

// Posted to a dialog once it is up, when a test script waits for it.
constexpr UINT kRunTestScript = WM_APP + 0x3F0;

HINSTANCE ResourceInstance() { return FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr); }

}  // namespace

int FwDialog::DoModal()
{
    const INT_PTR code = DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId_), owner_, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return static_cast<int>(code);
}

void FwDialog::EndDialog(int code)
{
    if (window_) ::EndDialog(window_, code);
}

bool FwDialog::UpdateData(bool saving)
{
    FwDataExchange dx(window_, saving);
    DoDataExchange(dx);
    return !dx.failed;
}

std::string FwDialog::GetItemText(int id) const
{
    HWND item = GetDlgItem(id);
    if (!item) return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

void FwDialog::SetItemText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }

void FwDialog::ShowItem(int id, bool show)
{
    if (HWND item = GetDlgItem(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void FwDialog::EnableItem(int id, bool enable)
{
    if (HWND item = GetDlgItem(id)) EnableWindow(item, enable);
}

void FwDialog::SetCaption(const std::string& text) { SetWindowTextA(window_, text.c_str()); }

void FwDialog::CenterWindow()
{
    RECT area{};
    HWND owner = GetWindow(window_, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT self{};
    GetWindowRect(window_, &self);
    const int width = self.right - self.left, height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Keep the dialog on the screen.
    RECT screen{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    if (x + width > screen.right) x = screen.right - width;
    if (y + height > screen.bottom) y = screen.bottom - height;
    if (x < screen.left) x = screen.left;
    if (y < screen.top) y = screen.top;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FwDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void FwDialog::OnOK()
{
    if (UpdateData(true)) EndDialog(IDOK);
}

void FwDialog::OnCancel() { EndDialog(IDCANCEL); }

void FwDialog::OnHelp()
{
    if (FwApp* app = FwGetApp()) app->WinHelp(kFwHelpResourceBase + static_cast<unsigned long>(templateId_), HELP_CONTEXT);
}

void FwDialog::OnCommand(int id, std::function<void()> handler, int code)
{
    commands_[{id, code}] = std::move(handler);
}

bool FwDialog::RunCommand(int id, int code)
{
    const auto found = commands_.find({id, code});
    if (found != commands_.end()) {
        found->second();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    case IDHELP:
    case kFwHelpCommand: OnHelp(); return true;
    default: return false;
    }
}

INT_PTR CALLBACK FwDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FwDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<FwDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<FwDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    return self ? self->Dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR FwDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const bool focusFirst = OnInitDialog();
        if (FwGetDialogTestHook()) PostMessageA(window_, kRunTestScript, 0, 0);
        return focusFirst ? TRUE : FALSE;
    }
    case kRunTestScript: {
        std::function<void(FwDialogDriver&)> script = FwTakeDialogScript(templateId_);
        if (!script) {
            if (FwDialogTestHook* hook = FwGetDialogTestHook()) ++hook->unexpectedDialogs;
            EndDialog(IDCANCEL);
            return TRUE;
        }
        ShowWindow(window_, SW_SHOWNORMAL);
        FwDialogDriver driver(window_);
        script(driver);
        return TRUE;
    }
    case WM_COMMAND:
        if (RunCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (FwBitmapButton* button = FwBitmapButtonOf(item->hwndItem)) {
            button->Draw(*item);
            return TRUE;
        }
        break;
    }
    case WM_DESTROY: OnDestroy(); break;
    default: break;
    }
    INT_PTR result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

int FwMessageBox(HWND owner, const std::string& text, UINT type, const char* caption)
{
    if (FwDialogTestHook* hook = FwGetDialogTestHook()) {
        hook->messages.push_back({text, type});
        if (!hook->messageAnswers.empty()) {
            const int answer = hook->messageAnswers.front();
            hook->messageAnswers.pop_front();
            return answer;
        }
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL: return IDYES;
        case MB_RETRYCANCEL: return IDRETRY;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDOK;
        }
    }
    return MessageBoxA(owner, text.c_str(), caption ? caption : "Tolvi", type);
}
