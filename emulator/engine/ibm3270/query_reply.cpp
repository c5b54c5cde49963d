#include "engine/ibm3270/query_reply.h"

#include <cstring>
#include <initializer_list>

#include "engine/ibm3270/outside_hooks.h"
#include "session/session_record.h"

namespace {

struct UsableArea {
    int width;
    int height;
};

UsableArea AreaOfModel(int terminal3270)
{
    switch (terminal3270) {
    case 17:
    case 21: return {80, 32};
    case 18:
    case 22: return {80, 43};
    case 19:
    case 23: return {132, 27};
    default: return {80, 24};
    }
}

void Put16(uint8_t* at, int value)
{
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

}  // namespace

void Build3270QueryReply(int terminal3270, uint8_t (&out)[kQueryReplyLength])
{
    static const uint8_t kHighlight[13] = {0x00, 0x0D, 0x81, 0x87, 0x04, 0x00, 0xF0,
                                           0xF1, 0xF1, 0xF2, 0xF2, 0xF4, 0xF4};
    static const uint8_t kCharacterSets[16] = {0x00, 0x10, 0x81, 0x85, 0x00, 0x00, 0x09, 0x10,
                                               0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00};
    uint8_t* p = out;
    *p++ = 0x88;
    // Colour: default green, then F1-F7 mapped to themselves (3279) or to the default (3278).
    const bool colour = terminal3270 >= 20 && terminal3270 <= 23;
    for (uint8_t b : {0x00, 0x16, 0x81, 0x86, 0x00, 0x08, 0x00, 0xF4}) *p++ = b;
    for (uint8_t c = 0xF1; c <= 0xF7; ++c) {
        *p++ = c;
        *p++ = colour ? c : 0x00;
    }
    std::memcpy(p, kHighlight, sizeof kHighlight);
    p += sizeof kHighlight;
    const UsableArea area = AreaOfModel(terminal3270);
    for (uint8_t b : {0x00, 0x17, 0x81, 0x81, 0x04, 0x00}) *p++ = b;
    Put16(p, area.width);
    Put16(p + 2, area.height);
    p += 4;
    for (uint8_t b : {0x00, 0x00, 0x02, 0x00, 0x89, 0x00, 0x02, 0x00, 0x85, 0x09, 0x10}) *p++ = b;
    Put16(p, area.width * area.height);
    p += 2;
    std::memcpy(p, kCharacterSets, sizeof kCharacterSets);
}

void Send3270QueryReply()
{
    uint8_t reply[kQueryReplyLength];
    Build3270QueryReply(Rec->Terminal3270, reply);
    Tn3270Hooks.sendRecord(reply, kQueryReplyLength, 1);
}
