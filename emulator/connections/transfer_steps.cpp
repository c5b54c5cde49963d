#include "connections/transfer_steps.h"

namespace {

constexpr int kHalvetZmodem = 1;
constexpr int kHalvetReceiveOptions = 30;
constexpr int kHalvetReceiveOptionsLogged = 42;

int StartRead(int code) { return code == kStepDone ? kStepGoOn : code; }

}  // namespace

const char* ProtocolName(int protocol)
{
    static const char* const kNames[] = {"Kermit", "X-Modem", "X-Modem 1K", "X-Modem CRC", "Y-Modem", "Z-Modem"};
    return protocol >= 0 && protocol <= kZmodem ? kNames[protocol] : "";
}

const char* ProtocolModeLetter(int protocol)
{
    switch (protocol) {
    case kXmodem1K: return "Y";
    case kXmodemCrc: return "C";
    case kYmodem: return "T";
    default: return "X";
    }
}

bool IsXYModem(int protocol) { return protocol >= kXmodem && protocol <= kYmodem; }

StepOutcome ReceiveOutcome(int code)
{
    switch (code) {
    case kStepDone:
    case kStepBatchDone: return StepOutcome::kDone;
    case kStepGoOn:
    case kStepStarted: return StepOutcome::kGoOn;
    default: return StepOutcome::kFailed;
    }
}

StepOutcome SendOutcome(int code)
{
    switch (code) {
    case kStepDone:
    case kStepBatchDone:
    case kStepSendDone: return StepOutcome::kDone;
    case kStepFailed:
    case kStepCancelled: return StepOutcome::kFailed;
    default: return StepOutcome::kGoOn;
    }
}

int StartReceive(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    int code;
    if (a.protocol == kKermit) {
        code = a.get ? libs.KermitGet(port, a.remoteFile.c_str()) : libs.KermitReceive(port);
        if (code == kStepFailed) libs.KermitAbort(port);
    } else if (a.protocol == kZmodem) {
        code = libs.ZReceiveStart(port, kHalvetZmodem, a.debugLog ? kHalvetReceiveOptionsLogged : kHalvetReceiveOptions);
        if (code != kStepStarted) {
            code = kStepFailed;
            libs.ZReceiveAbort(port);
        }
    } else {
        code = libs.XYReceiveStart(port, a.receiveFile.c_str(), ProtocolModeLetter(a.protocol));
        if (code == kStepFailed) libs.XYAbort(port);
    }
    return StartRead(code);
}

int NextReceive(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    if (a.protocol == kKermit) return libs.KermitReceiveNext(port);
    if (a.protocol == kZmodem) {
        const int code = libs.ZReceiveNext(port);
        return code == kStepBatchDone || code == kStepDone || code == kStepFailed ? code : kStepGoOn;
    }
    return libs.XYReceiveNext(port, ProtocolModeLetter(a.protocol));
}

int AbortReceive(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    if (a.protocol == kKermit) return libs.KermitAbort(port);
    if (a.protocol == kZmodem) return libs.ZReceiveAbort(port);
    return libs.XYAbort(port);
}

int StartSend(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    int code;
    if (a.protocol == kKermit) {
        code = libs.KermitSend(port, a.sendFiles.c_str());
    } else if (a.protocol == kZmodem) {
        code = libs.ZSendStart(port, a.zmodem, a.sendFiles.c_str());
        if (code == kStepFailed) libs.ZReceiveAbort(port);
        else code = kStepStarted;
    } else {
        code = libs.XYSendStart(port, a.sendFiles.c_str(), ProtocolModeLetter(a.protocol));
        if (code == kStepFailed) libs.XYAbort(port);
    }
    return StartRead(code);
}

int NextSend(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    if (a.protocol == kKermit) return libs.KermitSendNext(port);
    if (a.protocol == kZmodem) {
        const int code = libs.ZSendNext(port);
        return code == kStepBatchDone || code == kStepSendDone || code == kStepFailed ? code : kStepGoOn;
    }
    return libs.XYSendNext(port, ProtocolModeLetter(a.protocol));
}

int AbortSend(TransferLibraries& libs, int port, const TransferStepArgs& a)
{
    if (a.protocol == kKermit) return libs.KermitAbort(port);
    if (a.protocol == kZmodem) return libs.ZSendAbort(port);
    return libs.XYAbort(port);
}
