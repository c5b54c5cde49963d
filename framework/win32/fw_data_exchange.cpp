#include "fw_data_exchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "fw_dialog.h"
#include "fw_prompts.h"

namespace {

HWND Item(const FwDataExchange& dx, int id) { return GetDlgItem(dx.dialog, id); }

std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool IsRadio(HWND control)
{
    const LONG kind = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

// A whole number with optional blanks around it and an optional sign; false for anything else
// or a number outside int.
bool ParseInt(const std::string& text, int& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(start, &end, 10);
    if (end == start || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    value = static_cast<int>(parsed);
    return true;
}

// A whole number from 0 up with optional blanks around it; false for a sign, anything else or a
// number outside unsigned.
bool ParseUnsigned(const std::string& text, unsigned& value)
{
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t') ++start;
    if (*start < '0' || *start > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(start, &end, 10);
    if (errno == ERANGE || parsed > UINT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

}  // namespace

bool FwDataExchange::Begin(int id)
{
    if (failed) return false;
    lastControl = id;
    return true;
}

void FwDataExchange::Fail(const std::string& message)
{
    failed = true;
    FwMessageBox(dialog, message, MB_OK | MB_ICONEXCLAMATION);
    if (HWND control = GetDlgItem(dialog, lastControl)) {
        SetFocus(control);
        char name[16] = {};
        GetClassNameA(control, name, sizeof name);
        if (lstrcmpiA(name, "Edit") == 0) SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(FwDataExchange& dx, int id, std::string& value)
{
    if (!dx.Begin(id)) return;
    HWND control = Item(dx, id);
    if (!control) return;
    if (dx.saving) value = WindowText(control);
    else SetWindowTextA(control, value.c_str());
}

namespace {

template <typename Number>
void ExchangeNumber(FwDataExchange& dx, int id, Number& value, bool (*parse)(const std::string&, Number&),
                    const char* prompt)
{
    if (!dx.Begin(id)) return;
    HWND control = Item(dx, id);
    if (!control) return;
    if (!dx.saving) SetWindowTextA(control, std::to_string(value).c_str());
    else if (!parse(WindowText(control), value)) dx.Fail(prompt);
}

}  // namespace

void DDX_Text(FwDataExchange& dx, int id, int& value) { ExchangeNumber(dx, id, value, ParseInt, kFwPromptInt); }

void DDX_Text(FwDataExchange& dx, int id, unsigned& value)
{
    ExchangeNumber(dx, id, value, ParseUnsigned, kFwPromptUnsigned);
}

void DDX_Check(FwDataExchange& dx, int id, int& value)
{
    if (!dx.Begin(id)) return;
    HWND control = Item(dx, id);
    if (!control) return;
    if (dx.saving) value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value == 2 ? BST_INDETERMINATE : value ? BST_CHECKED : BST_UNCHECKED), 0);
}

void DDX_Radio(FwDataExchange& dx, int firstId, int& value)
{
    if (!dx.Begin(firstId)) return;
    HWND control = Item(dx, firstId);
    if (!control) return;
    if (dx.saving) value = -1;
    // The group runs up to the next control that starts a group; controls in it that are no radio
    // buttons (an edit beside its button) are passed over.
    int index = 0;
    do {
        if (IsRadio(control)) {
            if (!dx.saving) SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            else if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            ++index;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    } while (control && !(GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

namespace {

void ExchangeIndex(FwDataExchange& dx, int id, int& value, UINT getMessage, UINT setMessage)
{
    if (!dx.Begin(id)) return;
    HWND control = Item(dx, id);
    if (!control) return;
    if (dx.saving) value = static_cast<int>(SendMessageA(control, getMessage, 0, 0));
    else SendMessageA(control, setMessage, static_cast<WPARAM>(value), 0);
}

}  // namespace

void DDX_CBIndex(FwDataExchange& dx, int id, int& value) { ExchangeIndex(dx, id, value, CB_GETCURSEL, CB_SETCURSEL); }
void DDX_LBIndex(FwDataExchange& dx, int id, int& value) { ExchangeIndex(dx, id, value, LB_GETCURSEL, LB_SETCURSEL); }

void DDX_CBString(FwDataExchange& dx, int id, std::string& value)
{
    if (!dx.Begin(id)) return;
    HWND control = Item(dx, id);
    if (!control) return;
    if (dx.saving) {
        const LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR) {
            value = WindowText(control);
            return;
        }
        const LRESULT length = SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        value = text;
        return;
    }
    if (SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) == CB_ERR)
        SetWindowTextA(control, value.c_str());
}

void DDV_MinMaxInt(FwDataExchange& dx, int value, int minimum, int maximum)
{
    if (dx.failed || !dx.saving || (value >= minimum && value <= maximum)) return;
    dx.Fail(FwFormatPrompt(kFwPromptIntRange, {std::to_string(minimum), std::to_string(maximum)}));
}

void DDV_MaxChars(FwDataExchange& dx, const std::string& value, std::size_t count)
{
    if (dx.failed) return;
    if (!dx.saving) {
        // Typing stops at the limit; the check below still catches a text set otherwise.
        if (HWND control = Item(dx, dx.lastControl)) SendMessageA(control, EM_LIMITTEXT, count, 0);
        return;
    }
    if (value.size() <= count) return;
    dx.Fail(FwFormatPrompt(kFwPromptMaxChars, {std::to_string(count)}));
}
