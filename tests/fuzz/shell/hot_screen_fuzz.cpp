// Any bytes as a HotScreen rule file and a screen: the file up to the first NUL, then a mode byte
// (bit 0: 3270) and the screen's characters and protection bytes. The rules are loaded,
// evaluated (with actions that evaluate again from inside), their texts expanded, reloaded and
// freed; every read must stay inside the screen and every list bounded.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/ibm3270/tn3270_state.h"
#include "engine/screen_planes.h"
#include "session/session_record.h"
#include "shell/dyn_buttons.h"
#include "shell/hot_screen.h"
#include "shell/native_profile.h"

namespace {

class FuzzView : public ButtonView {
public:
    ButtonGeometry Geometry() override { return {8, 16, 640, 384, 0, 0, 0, 0, 2, 0, 0}; }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton&) override {}
};

// Input actions evaluate the rules again, as fed host data does.
class FuzzHost : public HotScreenHost {
public:
    ViewWindow TerminalView() override { return nullptr; }
    void FeedEmulation(ViewWindow, const uint8_t* bytes, int n) override
    {
        if (n <= 0 || n > 1000 || !bytes) __builtin_trap();
        HotScreenEvaluate();
    }
    void DdePoke(const char*, const char*, const char*, const char* data, int size) override
    {
        if (static_cast<int>(std::strlen(data)) + 1 != size) __builtin_trap();
    }
    void MessageBox(ViewWindow, const std::string&, const char*) override {}
    void RefreshTitle() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzView view;
    static FuzzHost host;
    static NativeProfile profile;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = input.find('\0');
    const std::string rules = input.substr(0, end);
    const std::string screen = end == std::string::npos ? std::string() : input.substr(end + 1);

    *Rec = SettingsRecord{};
    Rec->MaxCols = 80;
    Rec->MaxRows = 24;
    if (!AllocScreenBuffers()) return 0;
    Rec->EnableHotspots = 1;
    const int cells = 80 * 24;
    std::memset(Rec->CharsScreen, ' ', cells);
    if (!screen.empty()) {
        Rec->TerminalFamily3270 = screen[0] & 1;
        Tn3270State.BufferSize = cells;
        for (std::size_t i = 1; i < screen.size() && i <= static_cast<std::size_t>(cells); ++i)
            Rec->CharsScreen[i - 1] = static_cast<uint8_t>(screen[i]);
        for (std::size_t i = cells + 1; i < screen.size() && i <= static_cast<std::size_t>(2 * cells); ++i)
            Rec->ProtectionPlane[i - cells - 1] = static_cast<uint8_t>(screen[i]);
    }
    SetButtonView(&view);
    SetHotScreenHost(&host);
    SetProfiles(&profile);

    profile.ServeFromMemory("fuzz.hot", rules);
    HotScreenLoad("fuzz.hot");
    HotScreenEvaluate();
    (void)ExpandScreenMacros(rules.substr(0, 4096));
    std::memset(Rec->CharsScreen, 'A', 80);
    HotScreenEvaluate();
    HotScreenReload("");
    for (const auto& set : HotScreenList)
        if (set->buttons.size() > static_cast<std::size_t>(kHotButtonNames)) __builtin_trap();
    HotScreenFree();

    DynButtonMap.clear();
    SetButtonView(nullptr);
    SetHotScreenHost(nullptr);
    SetProfiles(nullptr);
    Tn3270State.BufferSize = 0;
    FreeScreenBuffers();
    return 0;
}
