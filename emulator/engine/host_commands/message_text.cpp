#include "engine/host_commands/message_text.h"

#include <cstdarg>
#include <cstdio>

#include "host_platform.h"

void ShowFormatted(int stringId, const char* format, ...)
{
    char text[kMessageTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Platform().ShowMessage(stringId, text);
}
