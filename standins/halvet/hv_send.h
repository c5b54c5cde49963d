// The ZMODEM sender: asks the receiver to begin (ZRQINIT), learns its capabilities (ZRINIT),
// optionally asks it to escape control characters (ZSINIT), offers each file of the batch
// (ZFILE with name, size and date), streams its data from the position the receiver asks for
// (ZRPOS) in sub-packets, with acknowledge requests and a window when set, ends it (ZEOF) and
// closes the session (ZFIN, "OO").
#pragma once

#include <string>
#include <vector>

#include "hv_session.h"

namespace halvet {

struct SendOptions {
    int management = 0;       // kHvManage*
    int conversion = kHvConvBinary;
    int nameOption = 0;       // kHvName*, 0 as kHvNameStrip
    int flags = 0;            // kHv* send flags
    int subpacketLength = 1024;
    int ackLength = 0;
    int windowSize = 0;
    int timeoutTenths = 100;
};

class Sender : public Session {
public:
    Sender(int port, const SendOptions& options, std::vector<std::string> files);
    ~Sender() override;
    // False (with the error in the status block) when a file of the list cannot be read.
    bool CheckFiles();
    int Step() override;

private:
    enum class State {
        Start,        // ZRQINIT to be sent
        WaitInit,     // waiting for ZRINIT
        SinitSent,    // waiting for the ZACK of our ZSINIT
        NextFile,     // the next file to be offered
        FileOffered,  // waiting for ZRPOS, ZSKIP or ZCRC
        Sending,      // streaming sub-packets
        WaitAck,      // a frame ended with ZCRCW, or the window is full
        EofSent,      // waiting for ZRINIT after ZEOF
        FinSent,      // waiting for the receiver's ZFIN
    };

    void Handle(const Decoder::Event& ev);
    void OnHeader(const Header& h);
    void OnTimeout();
    void SendInit();
    void SendSinit();
    void OfferNext();
    void SendOffer();
    void StartData(uint32_t pos);
    void StreamData();
    void SendEof();
    void FileDone(bool sent);
    void SendFin();
    void AnswerCrc(uint32_t length);
    void CloseFile() override;

    SendOptions options_;
    std::vector<std::string> files_;
    size_t next_ = 0;
    State state_ = State::Start;
    bool crc32_ = false;
    size_t receiverBuffer_ = 0;   // bytes the receiver takes before it must acknowledge (0: any)
    size_t subpacket_ = 1024;
    uint32_t ackEvery_ = 0;
    uint32_t window_ = 0;

    HvFile* file_ = nullptr;
    std::string path_;
    int64_t size_ = 0;
    uint32_t pos_ = 0;          // next byte to send
    uint32_t acked_ = 0;        // position the receiver has acknowledged
    uint32_t lastAsk_ = 0;      // position of the last acknowledge request
    uint32_t frameStart_ = 0;   // position of the current frame's ZDATA
    uint32_t lastRpos_ = 0;
    bool needHeader_ = true;    // the next sub-packet must be preceded by ZDATA
    int finTries_ = 0;
    std::vector<uint8_t> chunk_;
    std::vector<uint8_t> out_;
};

}  // namespace halvet
