// The window-free rules of the Start Async Filetransfer dialog: its caption, which buttons it
// shows, and the checks of the send and receive files before a transfer starts.
#pragma once

#include <string>

// What the checks need to know of the file system.
class TransferFileProbe {
public:
    virtual ~TransferFileProbe() = default;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual bool Writable(const std::string& path) = 0;
    // The file can be opened for reading.
    virtual bool Readable(const std::string& path) = 0;
};

// "Async protocol is: Kermit", ...
std::string StartTransferCaption(int protocol);

struct StartTransferButtons {
    bool kermitOnly;    // Get and the remote file
    bool finishServer;  // Finish Kermit Server
    bool abort;         // Abort transfer
    bool settings;      // Protocol && Settings...
};
StartTransferButtons StartTransferButtonsFor(int protocol, bool transferRunning, bool configAllowed, bool asyncLocked);

// The result of a check: go on, refuse with a message, or ask (Yes/No) and go on only on Yes.
struct TransferFileCheck {
    enum Kind { kAccept, kRefuse, kConfirm } kind = kAccept;
    std::string message;
};

TransferFileCheck CheckSendFile(const std::string& path, TransferFileProbe& probe);
TransferFileCheck CheckReceiveFile(const std::string& path, int protocol, TransferFileProbe& probe);
// A Kermit Get needs the remote file's name.
TransferFileCheck CheckRemoteFile(const std::string& remote);
