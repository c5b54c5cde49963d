// Finished DCS strings: the host's status line (DCS p #) and user-defined keys (DCS ... |).
#include <cstring>

#include "engine/screen_actions.h"
#include "engine/view_port.h"
#include "engine/vt/vt_buffers.h"
#include "engine/vt/vt_sequences.h"

namespace {

// A first parameter of 0 empties the status line; any other shows the text.
void ShowHostStatusLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, const int* params, const char* text)
{
    char line[kSequenceBufferSize + 1] = "";
    if (params[0] != 0) {
        std::strncpy(line, text, kSequenceBufferSize);
        line[kSequenceBufferSize] = 0;
    }
    ShowStatusText(window, rec, dirty, line);
}

}  // namespace

void DcsDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                 DirtyRect& dirty, int flag, const char* text)
{
    switch (finalByte) {
    case '#': ShowHostStatusLine(window, rec, dirty, params, text); break;
    case '|': LoadUserDefinedKeys(rec, count, params, text); break;
    default: break;
    }
}
