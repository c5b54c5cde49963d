// Host records and keystroke strings of any content through the 3270 engine.
//
// Input: byte 0 picks the model (alternate size) and the national variant; then items of
// [control][length][bytes]: control bit 0 marks the end of a record, bit 1 makes the bytes a
// keystroke string instead of host data, bit 2 a mouse click. Cut-off bytes are passed again in
// front of the next piece, as the Telnet layer does. The buffer and cursor addresses must stay
// inside the buffer; ASan watches the planes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/ibm3270/3270keyb.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/ibm3270/status_view.h"
#include "engine/screen_planes.h"

namespace {

void Check()
{
    const Tn3270Globals& s = Tn3270State;
    if (s.BufferSize < 1 || s.BufferSize > kScreenCells || s.BufferAddress < 0 || s.BufferAddress >= s.BufferSize ||
        s.CursorAddress < 0 || s.CursorAddress >= s.BufferSize || s.HomeRow < 0 || s.HomeRow >= s.Rows3270 ||
        s.LeftMargin < 0 || s.LeftMargin >= s.Columns3270)
        std::abort();
}

}  // namespace

// The engine alone: the quiet default hooks send inbound records nowhere.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        Rec->MaxRows = 24;
        Rec->MaxCols = 80;
        if (!AllocScreenBuffers()) std::abort();
        ready = true;
    }
    if (size < 1) return 0;
    static const int kAlternate[4][2] = {{24, 80}, {32, 80}, {43, 80}, {27, 132}};
    const int model = data[0] & 3;
    Rec->Terminal3270 = 16 + model + ((data[0] & 4) ? 4 : 0);
    Rec->Charset3270 = 5 + (data[0] >> 3) % 20;
    Rec->BoxEnable32 = (data[0] & 0x80) ? 1 : 0;
    Load3270State();
    Set3270Geometry(24, 80);
    Tn3270State.AltRows3270 = kAlternate[model][0];
    Tn3270State.AltColumns3270 = kAlternate[model][1];
    Init3270Screen();

    std::vector<uint8_t> carried;
    size_t pos = 1;
    while (pos + 2 <= size) {
        const uint8_t control = data[pos];
        size_t length = data[pos + 1];
        pos += 2;
        if (control & 0x08) length *= 32;  // long records too
        if (length > size - pos) length = size - pos;
        std::vector<uint8_t> bytes(carried);
        bytes.insert(bytes.end(), data + pos, data + pos + length);
        pos += length;
        if (control & 0x04) {
            Move3270Cursor(nullptr, length ? data[pos - 1] % 50 : 0, static_cast<int>(length) % 140);
        } else if (control & 0x02) {
            carried.clear();
            Send3270KeyString(nullptr, bytes.data(), static_cast<int>(bytes.size()));
        } else {
            const int endOfRecord = control & 0x01;
            const int taken = Process3270Stream(nullptr, bytes.data(), static_cast<int>(bytes.size()), endOfRecord);
            if (taken < 0 || static_cast<size_t>(taken) > bytes.size()) std::abort();
            carried.assign(bytes.begin() + taken, bytes.end());
        }
        Check();
    }
    return 0;
}
