// Button definitions as hosts send them (numbers and ';'-separated texts) and screens of any
// content under the hotspot-word scan: placement, state changes and deletion must stay within
// their bounds.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/screen_planes.h"
#include "shell/dyn_buttons.h"
#include "shell/dyn_hotspots.h"
#include "session/session_record.h"

namespace {

class FuzzView : public ButtonView {
public:
    ButtonGeometry Geometry() override { return geometry; }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton&) override {}
    ButtonGeometry geometry{8, 16, 800, 500, 40, 50, 60, 70, 7, 0, 0};
};

int Take(const uint8_t*& data, size_t& size)
{
    if (size < 2) return 0;
    const int v = static_cast<int16_t>(data[0] | (data[1] << 8));
    data += 2;
    size -= 2;
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzView view;
    *Rec = SettingsRecord{};
    Rec->MaxCols = 80;
    Rec->MaxRows = 24;
    if (!AllocScreenBuffers()) return 0;
    Rec->EnableHotspots = Rec->EnableDynamicHotspots = 1;
    SetButtonView(&view);

    int numbers[12];
    for (int& n : numbers) n = Take(data, size);
    const int isHotspot = Take(data, size) & 1;
    view.geometry.cellWidth = Take(data, size);
    view.geometry.cellHeight = Take(data, size);
    Rec->DynamicRow = Take(data, size);
    Rec->DynamicColumn = Take(data, size);
    Rec->DynamicWidth = Take(data, size);
    Rec->DynamicHeight = Take(data, size);
    Rec->DynamicFgColor = Take(data, size);
    Rec->DynamicBgColor = Take(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);

    CreateDynButton(nullptr, numbers, 12, text.c_str(), isHotspot);
    for (auto& entry : DynButtonMap) {
        entry.second->HitTest(numbers[1], numbers[2], 3, view.geometry);
        entry.second->SetState(2, view);
    }

    // The same bytes as a screen, scanned for hotspot words.
    const size_t cells = static_cast<size_t>(Rec->MaxCols) * Rec->MaxRows;
    for (size_t i = 0; i < cells && i < size; ++i) {
        Rec->CharsScreen[i] = data[i];
        Rec->FlagsScreen[i] = static_cast<uint8_t>(data[i] & 0x88);
    }
    std::strncpy(Rec->ExtraDynWordChars, "-_.", sizeof Rec->ExtraDynWordChars - 1);
    for (const HotspotWord& w : FindHotspotWords(*Rec, CellSpan{0, 23, 0, 79})) {
        if (w.first > w.last || w.last >= Rec->MaxCols || w.row >= Rec->MaxRows) __builtin_trap();
        const HotspotButtonDefinition d = HotspotButton(*Rec, w, "MgX1", "x");
        CreateDynButton(nullptr, d.numbers, 12, d.text.c_str(), 1);
    }
    DynButtonMap.clear();
    SetButtonView(nullptr);
    FreeScreenBuffers();
    return 0;
}
