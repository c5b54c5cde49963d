// The walks of the session commands over the selected entries of a file list (sending,
// receiving, deleting), the TransferState they keep, and the names a transfer gives its
// destination.
#pragma once

#include <string>

#include "file_list_entries.h"

// TransferState: 0 idle, 1 a walk over the local selection, 2 over the remote selection, 4 the
// last operation failed (not busy).
enum TransferStateValue : int { kTransferIdle = 0, kTransferLocalWalk = 1, kTransferRemoteWalk = 2, kTransferFailed = 4 };
inline bool WalkRunning(int state) { return (state & 3) != 0; }

// What a walk does, supplied by the main view (or a test).
class WalkSteps {
public:
    virtual ~WalkSteps() = default;
    virtual bool Connected() = 0;
    virtual void Connect() = 0;
    // The next selected entry: its name (directories without brackets) and the kind the list
    // recorded; false when none is left.
    virtual bool Next(std::string& name, FileEntryKind& kind) = 0;
    // Works on one entry; 0 when it succeeded.
    virtual int One(const std::string& name, FileEntryKind kind) = 0;
};

// Sending the local selection: state 1 while it runs; a log-on that fails or a file that fails
// ends it with 4, else it ends with 0. Returns the final state.
int SendWalk(int& state, WalkSteps& steps);
// Receiving the remote selection (or, `single`, one file named by the caller: Next is not asked):
// state 2; a failed log-on ends it with 0, a failed file with 4.
int ReceiveWalk(int& state, WalkSteps& steps, bool single);
// Deleting a selection: state `walk` (1 local, 2 remote); a failed entry is only reported by
// One and the walk goes on; `needsConnection` logs on first (a failed log-on ends it with 0).
int DeleteWalk(int& state, int walk, WalkSteps& steps, bool needsConnection);

// The longest local file name.
constexpr std::size_t kMaxLocalName = 255;
// The local name a received file gets from a name of the server's listing: only its last
// component (after "/" or "\"), so it stays in the local folder. False for a name the local
// system cannot create as it is, which is never written: "", ".", "..", a name ending in a dot or
// a blank, one longer than kMaxLocalName, one with a control character or one of < > : " | ? *,
// and a device name (CON, NUL, COM1, ...).
bool ReceiveDestination(const std::string& remote, std::string& local);
// The remote name a sent file gets: the last component of the local name in lower case.
std::string SendDestination(const std::string& local);

// The type a transfer of `name` uses in `mode` ('I' image, 'A' ASCII, 'U' automatic): Auto sends
// names with a text ending (kTextEndings, case ignored) as ASCII and every other name as image.
char TransferTypeFor(char mode, const std::string& name);
// The endings Auto takes for text.
extern const char* const kTextEndings[];
