#include "engine/host_commands/message_text.h"

#include <cstdarg>
#include <cstdio>

#include "host_messages.h"
#include "host_platform.h"

namespace {
constexpr int kExclamation = 0x30;
}  // namespace

void ShowFormatted(int stringId, const char* format, ...)
{
    char text[kMessageTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // Host data caused it: shown after the block, never inside the receive path.
    if (!PostHostMessage(stringId, kExclamation, text)) Platform().ShowMessage(stringId, text);
}
