// Host data that the transfer side reads: a host file command's line through the word split and,
// its first argument taken as a pattern, through the wildcard match against its second; and the
// same bytes through the auto-start detector, whose match must never run past its buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "connections/acl_words.h"
#include "connections/auto_transfer.h"
#include "session/session_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const AclWords words = SplitAclCommand(text);
    if (words.command.find(' ') != std::string::npos || words.first.find(' ') != std::string::npos)
        __builtin_trap();
    WildcardMatch(words.second, words.first);
    if (!WildcardMatch(words.second, "*") || !WildcardMatch(words.first, words.first.empty() ? "" : "*"))
        __builtin_trap();
    Rec->AutoDetectReceive = 1;
    for (std::size_t i = 0; i < size; ++i) {
        Rec->TransferActive = 0;
        DetectAutoTransfer(data[i]);
    }
    ResetAutoTransferMatch();
    return 0;
}
