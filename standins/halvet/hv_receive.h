// The ZMODEM receiver: invites the sender (ZRINIT), takes each offered file (ZFILE) under a
// safe local name in the current folder, asks for its data from the right position (ZRPOS),
// writes checked sub-packets, answers the sender's acknowledge requests, closes the file at
// ZEOF and ends the batch at ZFIN. A damaged or missing stretch of data is asked for again by its
// position; the file is only complete after a ZEOF at the position reached.
#pragma once

#include <string>

#include "hv_names.h"
#include "hv_session.h"

namespace halvet {

class Receiver : public Session {
public:
    Receiver(int port, bool debugLog);
    ~Receiver() override;
    int Step() override;

private:
    enum class State {
        Invite,       // ZRINIT to be sent
        Headers,      // waiting for a header between files
        SinitData,    // the ZSINIT's attention string follows
        FileData,     // the ZFILE's name and facts follow
        NameOffered,  // the caller may impose a local name until the next step
        Skipping,     // after an error: waiting for a ZDATA at our position
        Data,         // taking sub-packets
        Finishing,    // ZFIN answered; waiting briefly for the sender's "OO"
    };

    void Handle(const Decoder::Event& ev);
    void OnHeader(const Decoder::Event& ev);
    void OnData(const Decoder::Event& ev);
    void OnTimeout();
    void OfferFile(const uint8_t* data, size_t length);
    void OpenFile();
    bool Skip(const char* why);
    void EndFile();
    bool WriteData(const uint8_t* data, size_t length);
    void AskPosition();
    void SendInvite();
    void CloseFile() override;

    State state_ = State::Invite;
    Header fileHeader_;       // the ZFILE header: conversion and management flags
    FileInfo info_;
    std::string path_;
    HvFile* file_ = nullptr;
    uint32_t offset_ = 0;     // position reached in the sender's file
    bool textMode_ = false;   // LF becomes CR LF
    bool lastWasCr_ = false;
    uint8_t lastReply_ = ZRINIT;
    int oCount_ = 0;
};

}  // namespace halvet
