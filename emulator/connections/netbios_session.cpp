#include "connections/netbios_session.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/session_services.h"
#include "connections/variable_expander.h"
#include "engine/key_strings.h"
#include "host_platform.h"
#include "session/session_record.h"

namespace {

void Show(int stringId, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    Platform().ShowMessage(stringId, text);
}

uint16_t Word(const uint8_t* bytes, int offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

}  // namespace

void PadNetbiosName(char* destination, const char* text) {
    std::size_t n = 0;
    while (n < 16 && text[n]) {
        destination[n] = text[n];
        ++n;
    }
    while (n < 16) destination[n++] = ' ';
    destination[16] = '\0';
}

int NetbiosSession::Fail(const char* text) {
    if (text) Platform().ShowMessage(0, text);
    Rec->Connected = 0;
    ConnView().SetBusyCursor(false);
    return 0;
}

// ADAPTER STATUS of the local adapter; an adapter without its environment is reset and asked
// once more.
int NetbiosSession::QueryStatus(uint8_t lana, uint8_t* status, int* length) {
    int asked = *length;
    int code = ncbs_.AdapterStatus(lana, status, length, "*");
    if (code == kNrcEnvironmentNotDefined) {
        ncbs_.Reset(lana);
        *length = asked;
        code = ncbs_.AdapterStatus(lana, status, length, "*");
    }
    return code;
}

// From `Lana` down to 0: the first adapter that runs NetBIOS and whose session packet size fits
// the kind of network; else the last one that answered the status query.
void NetbiosSession::SearchAdapter() {
    uint8_t status[kStatusSize];
    lana_ = 0;
    for (int a = Rec->Lana & 0xFF; a >= 0; --a) {
        uint8_t lana = static_cast<uint8_t>(a);
        if (ncbs_.Present(lana) != kNrcIllegalCommand) continue;
        int length = kStatusSize;
        int code = QueryStatus(lana, status, &length);
        if (code != kNrcGood && code != kNrcIncomplete) continue;
        lana_ = lana;
        if (length > 74) {
            unsigned packet = Word(status, kMaxSessionPacketOffset);
            bool taken = Rec->NetWork == 1 ? (packet == 1496 || packet <= 512)
                                           : (packet > 1496 && packet < 32768);
            if (taken) return;
        }
    }
}

// The first name of the adapter's table that is a unique workstation name (16th byte 0), else
// the permanent node name; the computer's name when the table is empty. The count comes from the
// status but never goes beyond the entries that the returned length holds.
void NetbiosSession::ChooseLocalName(const uint8_t* status, int length, int code) {
    int count;
    if (code == kNrcIncomplete) count = (length - kAdapterStatusSize) / kNameBufferSize;
    else count = static_cast<int8_t>(status[kNameCountOffset]);
    int held = length > kAdapterStatusSize ? (length - kAdapterStatusSize) / kNameBufferSize : 0;
    if (count > held) count = held;
    if (count < 0) count = 0;
    if (count > 0) {
        std::memset(localName_, 0, 10);
        std::memcpy(localName_ + 10, status, 6);
        for (int i = 0; i < count; ++i) {
            const uint8_t* name = status + kAdapterStatusSize + i * kNameBufferSize;
            if (name[15] == 0) {
                std::memcpy(localName_, name, 16);
                break;
            }
        }
        return;
    }
    char computer[16] = {};
    platform_.ComputerName(computer);
    computer[15] = '\0';
    char padded[17];
    PadNetbiosName(padded, computer);
    std::memcpy(localName_, padded, 16);
}

int NetbiosSession::Connect(ViewWindow window) {
    ConnView().SetBusyCursor(true);
    Rec->HangupReason = 0;
    filled_ = sent_ = 0;
    lana_ = static_cast<uint8_t>(Rec->Lana & 0xFF);
    if (lana_ > 9) SearchAdapter();

    char expanded[61];
    ExpandVariables(Rec->HostName, expanded, sizeof(expanded));
    int decoded = DecodeKeyString(expanded, hostName_, 60, false, true);
    hostName_[decoded > 0 ? (decoded < 60 ? decoded : 60) : 0] = '\0';

    if (ncbs_.Present(lana_) != kNrcIllegalCommand) {
        char text[160];
        std::snprintf(text, sizeof(text),
                      "NetBIOS for LAN Adapter  %c detected to not be running\nIgnore error and continue?",
                      '0' + lana_ % 10);
        if (!platform_.AskOkCancel(text)) {
            Rec->ScreenFrozen = 0;
            return Fail(nullptr);
        }
    }

    uint8_t status[kStatusSize] = {};
    int length = kStatusSize;
    int code = QueryStatus(lana_, status, &length);
    if (code != kNrcGood && code != kNrcIncomplete) {
        Show(40, "NetBIOS AdapterStatus error: x%.02X", code);
        return Fail(nullptr);
    }
    ChooseLocalName(status, length, code);

    if (localName_[0] != 0) {
        localName_[15] = 0xE8;
        uint8_t number = 0;
        code = ncbs_.AddName(lana_, localName_, &number, kGroupName);
        if (code != kNrcGood && code != kNrcDuplicateName) {
            Show(0, "Error Adding Name [%.16s] Error [%x]", reinterpret_cast<const char*>(localName_), code);
            return Fail(nullptr);
        }
    }

    if (Rec->NetWork == 1) {
        char shortName[17];
        std::snprintf(shortName, sizeof(shortName), "%.12s_tty", hostName_);
        PadNetbiosName(callName_, shortName);
    } else {
        PadNetbiosName(callName_, hostName_);
    }

    int timeout = Rec->SendTimeout > 0 ? 2 * Rec->SendTimeout : 0;
    uint8_t sendTimeout = static_cast<uint8_t>(timeout < 255 ? timeout : 255);
    code = ncbs_.Call(window, lana_, localName_, reinterpret_cast<const uint8_t*>(callName_), 0, sendTimeout,
                      &session_);
    if (code != kNrcGood) {
        Show(0, "Cannot find host \"%s\" on lana %d, NetBios Error [0x%x]", hostName_, lana_, code);
        Rec->Connected = 0;
    } else if (PostReceive(window) == kNrcGood) {
        Rec->Connected = 1;
        ConnView().SetViewFocus(true);
    }
    ConnView().SetBusyCursor(false);
    return Rec->Connected;
}

int NetbiosSession::Disconnect(ViewWindow window) {
    Rec->Connected = 0;
    ConnView().RefreshTitle();
    ncbs_.HangUp(lana_, session_);
    ConnView().SetViewFocus(false);
    return 1;
}

int NetbiosSession::Send(ViewWindow window, const uint8_t* bytes, int n) {
    if (!Rec->Connected) return n;
    if (n <= 0) return 0;
    int k = kSendBufferSize - filled_;
    if (k > n) k = n;
    std::memcpy(sendBuffer_ + filled_, bytes, static_cast<std::size_t>(k));
    filled_ += k;
    if (sendState_ != kOutstanding) StartSend(window);
    return k;
}

int NetbiosSession::StartSend(ViewWindow window) {
    if (sendState_ == kOutstanding) {
        Platform().ShowMessage(43, "Internal error: NB SEND already started");
        return 0;
    }
    int m = filled_ - sent_;
    int block = Rec->MaxTxBlock > 0 ? Rec->MaxTxBlock : 1;
    if (m > block) m = block;
    const uint8_t* start = sendBuffer_ + sent_;
    int code = ncbs_.SendNoWait(window, lana_, start, m, session_, kNetbiosDoneMessage);
    if (code != kNrcGood) {
        sendState_ = kFailed;
        Show(0, "Error Sending data to [%s] Error [%x]", callName_, code);
        return code;
    }
    if (Rec->Recording) Services().RecordSend(start, m);
    sendState_ = kOutstanding;
    sent_ += m;
    if (sent_ >= filled_) filled_ = sent_ = 0;
    return code;
}

void NetbiosSession::SendDone(ViewWindow window, Ncb* ncb) {
    int code = ncb->cmdCplt;
    int length = ncb->length;
    FreeNcb(ncb);
    sendState_ = kIdle;
    if (code != kNrcGood) {
        sendState_ = kFailed;
        CloseConnection(window);
        return;
    }
    if (filled_ != 0) {
        if (length == Rec->MaxTxBlock && Rec->TxBlockDelay) ConnView().DelayMs(Rec->TxBlockDelay);
        StartSend(window);
        return;
    }
    SendPasteChunk(window);
}

int NetbiosSession::PostReceive(ViewWindow window) {
    if (receiveState_ == kOutstanding) {
        Platform().ShowMessage(42, "Internal error: NB RECV already started");
        return 0;
    }
    int code = ncbs_.ReceiveNoWait(window, lana_, kReceiveSize, session_, kNetbiosDoneMessage);
    if (code != kNrcGood) {
        receiveState_ = kFailed;
        Show(0, "Error [%x] posting a NetBIOS Receive", code);
    } else {
        receiveState_ = kOutstanding;
    }
    return code;
}

// The block is processed from the completed NCB's own buffer, which is freed only afterwards: a
// modal loop inside the consumers may deliver the next completion meanwhile, and that one brings
// its own buffer.
void NetbiosSession::ReceiveDone(ViewWindow window, Ncb* ncb) {
    receiveState_ = kIdle;
    int code = ncb->cmdCplt;
    // After our own hang-up the RECEIVE ends with whatever the adapter makes of the vanished
    // session (closed, aborted, or an invalid session number); none of these is an error to show.
    bool hungUpByUs = !Rec->Connected && code != kNrcGood && code != kNrcIncomplete;
    if (code == kNrcSessionClosed || code == kNrcSessionAborted || hungUpByUs) {
        FreeNcb(ncb);
        CloseConnection(window);
        return;
    }
    if (code != kNrcGood && code != kNrcIncomplete) {
        Show(0, "Receive Error [%x]\nConnection closed", code);
        FreeNcb(ncb);
        CloseConnection(window);
        return;
    }
    int n = ncb->length <= kReceiveSize ? ncb->length : kReceiveSize;
    const uint8_t* block = ncb->buffer;
    bool held = Rec->KeyMapHasHold && platform_.ScrollLockOn();
    if (!held && PostReceive(window) != kNrcGood) CloseConnection(window);
    int rest = RunReceiveConsumers(window, ReceiveSource::Netbios, block, n);
    if (rest > 0) {
        FeedEmulation(window, block + (n - rest), rest);
        ConnView().UpdateView();
    }
    FreeNcb(ncb);
}

void NetbiosSession::NcbDone(ViewWindow window, unsigned command, Ncb* ncb) {
    unsigned base = command & 0x7F;
    if (base == kNcbSend && sendState_ == kOutstanding) {
        SendDone(window, ncb);
    } else if (base == kNcbReceive && receiveState_ == kOutstanding) {
        ReceiveDone(window, ncb);
    } else {
        Show(41, "Unexpected NetBIOS cmd: x%.02X complete", command & 0xFF);
    }
}
