// Finished DCS strings: the host's status line (DCS p #) and user-defined keys (DCS ... |).
#include <cstring>

#include "engine/charsets.h"
#include "engine/view_port.h"
#include "engine/vt/vt_buffers.h"
#include "engine/vt/vt_sequences.h"

namespace {

constexpr uint32_t kStatusTextColor = 0x800000;  // dark blue
constexpr uint32_t kStatusBackColor = 0xC0C0C0;  // silver

void ShowHostStatusLine(SettingsRecord& rec, int count, const int* params, const char* text)
{
    char line[kSequenceBufferSize + 1] = "";
    if (params[0] != 0) {
        std::size_t n = 0;
        for (; text[n] && n < kSequenceBufferSize; ++n) {
            uint8_t c = static_cast<uint8_t>(text[n]);
            if (c < 0x20) {
                c = ' ';
            } else {
                int flags = 0;
                int charClass = 0;
                TranslateChar(c, flags, charClass, rec);
            }
            line[n] = static_cast<char>(c);
        }
        line[n] = 0;
    }
    View().SetStatusPane(line, 1, kStatusTextColor, kStatusBackColor);
}

}  // namespace

void DcsDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                 DirtyRect& dirty, int flag, const char* text)
{
    switch (finalByte) {
    case '#': ShowHostStatusLine(rec, count, params, text); break;
    case '|': LoadUserDefinedKeys(rec, count, params, text); break;
    default: break;
    }
}
