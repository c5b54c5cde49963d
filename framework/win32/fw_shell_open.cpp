#include "fw_shell_open.h"

#include <dde.h>

#include <vector>

#include "shell_open_commands.h"

namespace {

constexpr const char* kSystemTopic = "System";

// True when the atom is absent (a wildcard) or names the text, in any case.
bool AtomMatches(ATOM atom, const std::string& text)
{
    if (!atom) return true;
    char name[256];
    const UINT n = GlobalGetAtomNameA(atom, name, sizeof name);
    return n > 0 && lstrcmpiA(name, text.c_str()) == 0;
}

}  // namespace

FwShellOpen::FwShellOpen(std::string application, std::function<bool(const std::string&)> open)
    : application_(std::move(application)), open_(std::move(open))
{
}

bool FwShellOpen::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_DDE_INITIATE:
        Initiate(window, reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
        result = 0;
        return true;
    case WM_DDE_EXECUTE:
        Execute(window, reinterpret_cast<HWND>(wParam), lParam);
        result = 0;
        return true;
    case WM_DDE_TERMINATE:
        PostMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
        result = 0;
        return true;
    default:
        return false;
    }
}

void FwShellOpen::Initiate(HWND window, HWND client, ATOM application, ATOM topic)
{
    if (!client || !AtomMatches(application, application_) || !AtomMatches(topic, kSystemTopic)) return;
    // The atoms of the acknowledgement belong to the client, which deletes them.
    const ATOM app = GlobalAddAtomA(application_.c_str());
    const ATOM sys = GlobalAddAtomA(kSystemTopic);
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), MAKELPARAM(app, sys));
}

void FwShellOpen::Execute(HWND window, HWND client, LPARAM lParam)
{
    UINT_PTR unused = 0, commandsHandle = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &commandsHandle);
    HGLOBAL commands = reinterpret_cast<HGLOBAL>(commandsHandle);
    bool ok = false;
    std::vector<std::string> paths;
    if (const char* text = commands ? static_cast<const char*>(GlobalLock(commands)) : nullptr) {
        ok = ParseShellOpenCommands(text, GlobalSize(commands), paths);
        GlobalUnlock(commands);
    }
    for (const std::string& path : paths) ok = open_(path) && ok;
    const LPARAM ack = ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, ok ? 0x8000 : 0, commandsHandle);
    if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), ack)) FreeDDElParam(WM_DDE_ACK, ack);
}
