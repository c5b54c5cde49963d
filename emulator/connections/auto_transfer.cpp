// Recognises the first bytes of an incoming Kermit or ZMODEM transfer in the received data.
#include "connections/auto_transfer.h"

#include "connections/connection_view.h"
#include "session/session_record.h"

namespace {

constexpr int kKermit = 0;
constexpr int kZmodem = 5;

int kermitMatched = 0;  // SOH, length, '0'+32, 'S'
int zmodemMatched = 0;  // '*', '*', ZDLE, 'B', '0', '0'

bool KermitStep(uint8_t b)
{
    switch (kermitMatched) {
    case 0: kermitMatched = b == 0x01 ? 1 : 0; break;
    case 1: kermitMatched = (b >= 0x20 && b <= 0x7E) ? 2 : (b == 0x01 ? 1 : 0); break;
    case 2: kermitMatched = b == ' ' ? 3 : (b == 0x01 ? 1 : 0); break;
    case 3:
        if (b == 'S') {
            kermitMatched = 0;
            return true;
        }
        kermitMatched = b == 0x01 ? 1 : 0;
        break;
    default: kermitMatched = 0; break;
    }
    return false;
}

bool ZmodemStep(uint8_t b)
{
    static const uint8_t kHeader[] = {'*', '*', 0x18, 'B', '0', '0'};
    if (b == kHeader[zmodemMatched]) {
        if (++zmodemMatched == static_cast<int>(sizeof kHeader)) {
            zmodemMatched = 0;
            return true;
        }
        return false;
    }
    // "***" keeps two stars matched.
    zmodemMatched = (b == '*') ? (zmodemMatched == 2 ? 2 : 1) : 0;
    return false;
}

bool InsideSequence(const SettingsRecord& rec)
{
    return rec.SequenceLength || rec.PrinterControllerMode || rec.StringCommandNumber || rec.PendingIntermediate;
}

}  // namespace

void ResetAutoTransferMatch() { kermitMatched = zmodemMatched = 0; }

int DetectAutoTransfer(uint8_t byte)
{
    if (Rec->TransferActive || InsideSequence(*Rec)) {
        ResetAutoTransferMatch();
        return 0;
    }
    const bool kermit = KermitStep(byte);
    const bool zmodem = ZmodemStep(byte);
    if (!kermit && !zmodem) return 0;
    ResetAutoTransferMatch();
    Rec->AProtocol = kermit ? kKermit : kZmodem;
    ConnView().PostFrameCommand(kStartReceiveCommand);
    return 1;
}
