// Cursor display, mode switches and the requests to other parts of the program.
#include "engine/charsets.h"
#include "engine/screen_actions.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"

namespace {

void NoStartPrint(int) {}
void NoEndPrint(int) {}

constexpr int kCursorBlock = 0;
constexpr int kCursorUnderline = 2;

constexpr int kStatusTextPane = 1;
constexpr uint32_t kStatusTextColor = 0x800000;
constexpr uint32_t kStatusBackColor = 0xC0C0C0;
constexpr int kKeyboardPane = 2;
constexpr uint32_t kKeyboardLockedColor = 255;

}  // namespace

HostPrintHooks DefaultHostPrintHooks() { return HostPrintHooks{&NoStartPrint, &NoEndPrint}; }

HostPrintHooks PrintHooks = DefaultHostPrintHooks();

void HideCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorFlags = (rec.CursorFlags & ~kCursorShown) | kCaretRecreate;
    CursorCellDirty(rec, dirty);
}

void ShowCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorFlags |= kCursorShown | kCaretRecreate;
    CursorCellDirty(rec, dirty);
}

void BlockCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorStyle = kCursorBlock;
    rec.CursorFlags |= kCaretRecreate;
    CursorCellDirty(rec, dirty);
}

void UnderlineCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorStyle = kCursorUnderline;
    rec.CursorFlags |= kCaretRecreate;
    CursorCellDirty(rec, dirty);
}

void AutoWrapOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.AutoWrapNow = 1; }
void AutoWrapOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.AutoWrapNow = 0; }
void InsertModeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.InsertMode = 1; }
void InsertModeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.InsertMode = 0; }
void ProtectModeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.ProtectMode = 1; }
void ProtectModeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.ProtectMode = 0; }
void ProtectAttributeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.ProtectAttribute = 1; }
void ProtectAttributeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.ProtectAttribute = 0; }

void StartHostPrint(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int mode)
{
    if (mode == rec.PrinterControllerMode) return;
    if (rec.PrinterControllerMode != 0) PrintHooks.endPrint(0);
    rec.PrinterControllerMode = mode;
    PrintHooks.startPrint(mode);
}

void StopHostPrint(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.PrinterControllerMode == 0) return;
    rec.PrinterControllerMode = 0;
    PrintHooks.endPrint(0);
}

void RequestPrintScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    View().RequestPrintScreen(window);
}

void ShowStatusText(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, char* text)
{
    if (!text) return;
    for (char* p = text; *p; ++p) {
        uint8_t c = static_cast<uint8_t>(*p);
        if (c < 0x20) {
            c = ' ';
        } else {
            int flags = 0;
            int charClass = 0;
            TranslateChar(c, flags, charClass, rec);
            if (c == 0) c = ' ';  // a translation to NUL must not cut the text
        }
        *p = static_cast<char>(c);
    }
    View().SetStatusPane(text, kStatusTextPane, kStatusTextColor, kStatusBackColor);
}

void Set3270KeyboardIndicator(int locked)
{
    if (locked)
        View().ShowStatusProgress(kKeyboardPane, 100, "Keyboard locked", kKeyboardLockedColor);
    else
        View().ShowStatusProgress(kKeyboardPane, 0, "", 0);
}

void SetKeyboardLock(SettingsRecord& rec, int locked)
{
    rec.KeyboardLocked = locked;
    Set3270KeyboardIndicator(locked);
}

void CursorDisplayCode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code, bool showForStyle)
{
    switch (code) {
    case '0': HideCursor(window, rec, dirty); break;
    case '1': ShowCursor(window, rec, dirty); break;
    case '2':
    case '5':
        if (showForStyle) ShowCursor(window, rec, dirty);
        BlockCursor(window, rec, dirty);
        break;
    case '3':
    case '4':
        if (showForStyle) ShowCursor(window, rec, dirty);
        UnderlineCursor(window, rec, dirty);
        break;
    case ':':
    case ';':
        SetColumnsAndClear(window, rec, dirty, code == ':' ? 80 : 132);
        VtHooks.frameRefit();
        break;
    default: break;
    }
}
