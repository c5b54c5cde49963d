#include "tolvi_screen.h"

#include "message_pump.h"

namespace {

// Wine's DDEML wants the queue emptied between synchronous transactions: every transaction is
// followed by a short pump.
HDDEDATA CALLBACK IgnoreEverything(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

}  // namespace

TolviScreen::TolviScreen()
{
    if (DdeInitializeA(&instance_, IgnoreEverything, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
}

TolviScreen::~TolviScreen()
{
    if (conversation_) DdeDisconnect(conversation_);
    if (instance_) DdeUninitialize(instance_);
}

bool TolviScreen::Connect(int timeoutMs)
{
    if (!instance_) return false;
    HSZ service = DdeCreateStringHandleA(instance_, "TOLVI", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance_, "TOLVITOP", CP_WINANSI);
    const DWORD start = GetTickCount();
    while (!conversation_ && GetTickCount() - start < static_cast<DWORD>(timeoutMs)) {
        conversation_ = DdeConnect(instance_, service, topic, nullptr);
        if (!conversation_) PumpMessages(200);
    }
    DdeFreeStringHandle(instance_, service);
    DdeFreeStringHandle(instance_, topic);
    PumpMessages(30);
    return conversation_ != nullptr;
}

HDDEDATA TolviScreen::Transact(UINT type, const char* item, const std::string* data)
{
    if (!conversation_) return nullptr;
    HSZ handle = DdeCreateStringHandleA(instance_, item, CP_WINANSI);
    HDDEDATA result = DdeClientTransaction(
        data ? reinterpret_cast<LPBYTE>(const_cast<char*>(data->c_str())) : nullptr,
        data ? static_cast<DWORD>(data->size() + 1) : 0, conversation_, handle, CF_TEXT, type, 10000, nullptr);
    DdeFreeStringHandle(instance_, handle);
    PumpMessages(30);
    return result;
}

std::string TolviScreen::Text(int cols, int rows)
{
    const std::string rectangle = "0;0;" + std::to_string(cols) + ";" + std::to_string(rows);
    if (!Transact(XTYP_POKE, "gettxt", &rectangle)) return "";
    HDDEDATA data = Transact(XTYP_REQUEST, "txtret", nullptr);
    if (!data) return "";
    std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
    if (!text.empty()) DdeGetData(data, reinterpret_cast<LPBYTE>(&text[0]), static_cast<DWORD>(text.size()), 0);
    DdeFreeDataHandle(data);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

bool TolviScreen::WaitFor(const std::string& text, int timeoutMs, std::string* last)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const std::string screen = Text();
        if (last) *last = screen;
        if (screen.find(text) != std::string::npos) return true;
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        PumpMessages(200);
    }
}

bool TolviScreen::ToHost(const std::string& text) { return Transact(XTYP_POKE, "tohost", &text) != nullptr; }

bool TolviScreen::ToHostAction(const std::string& actions) { return Transact(XTYP_POKE, "tohostx", &actions) != nullptr; }
