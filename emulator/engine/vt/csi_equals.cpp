// CSI = sequences: the console colour settings, cursor shape and the console printer sequences.
#include "engine/view_port.h"
#include "engine/vt/vt_sequences.h"

namespace {

uint8_t ConsoleColor(int c)
{
    c &= 15;
    return static_cast<uint8_t>(c < 8 ? c + 2 : c + 4);
}

void CursorShape(SettingsRecord& rec, int count, const int* params)
{
    const int start = params[0];
    const int end = count > 1 ? params[1] : 0;
    if (end < start) {
        rec.CursorFlags &= ~kCursorShown;
    } else {
        rec.CursorFlags |= kCursorShown;
        rec.CursorStyle = end - start >= 4 ? 0 : (rec.CursorStyle == 1 ? 1 : 2);
    }
    rec.CursorFlags |= kCaretRecreate;
}

}  // namespace

void CsiEqualsDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                       DirtyRect& dirty, int fromVt)
{
    switch (finalByte) {
    case 'C': CursorShape(rec, count, params); return;
    case 'i': CsiDispatch(window, rec, 'i', count, params, dirty, fromVt); return;
    default: break;
    }
    if (!rec.UseHostColor) return;
    const bool reverse = rec.SgrFlags[kSgrReverse] != 0;
    if (finalByte == 'Y') {
        rec.SavedColors[0] = rec.NormalFg;
        rec.SavedColors[1] = rec.NormalBg;
        rec.SavedColors[2] = rec.ReverseFg;
        rec.SavedColors[3] = rec.ReverseBg;
        return;
    }
    if (finalByte == 'Z') {
        rec.NormalFg = rec.SavedColors[0];
        rec.NormalBg = rec.SavedColors[1];
        rec.ReverseFg = rec.SavedColors[2];
        rec.ReverseBg = rec.SavedColors[3];
        return;
    }
    if (count > 1) return;
    const int p = params[0];
    const uint8_t c = ConsoleColor(p);
    switch (finalByte) {
    case 'A':
        rec.AttrColors[kAttrFrame][kAttrFg] = c;
        View().Invalidate(window, DirtyRect{0, 0, 32000, 32000}, false);
        break;
    case 'D':
        if (p == 0) {
            if (rec.NormalBg >= 10) rec.NormalBg = static_cast<uint8_t>(rec.NormalBg - 10);
            if (rec.HostBg >= 10) rec.HostBg = static_cast<uint8_t>(rec.HostBg - 10);
            if (rec.CurBg >= 10) rec.CurBg = static_cast<uint8_t>(rec.CurBg - 10);
        } else {
            if (rec.NormalBg < 10) rec.NormalBg = static_cast<uint8_t>(rec.NormalBg + 10);
            if (rec.HostBg && rec.HostBg < 10) rec.HostBg = static_cast<uint8_t>(rec.HostBg + 10);
            if (rec.CurBg < 10) rec.CurBg = static_cast<uint8_t>(rec.CurBg + 10);
        }
        break;
    case 'F':
        rec.NormalFg = c;
        rec.HostFg = 0;
        if (!reverse) rec.CurFg = c;
        break;
    case 'G':
        rec.NormalBg = c;
        rec.HostBg = 0;
        if (!reverse) rec.CurBg = c;
        break;
    case 'H':
        rec.ReverseFg = c;
        if (reverse) rec.CurFg = c;
        break;
    case 'I':
        rec.ReverseBg = c;
        if (reverse) rec.CurBg = c;
        break;
    default: break;
    }
}
