// Messages of the host commands, multimedia and host printing to the user: formatted into a
// bounded text (host and file texts only ever as arguments, never as the format) and shown by the
// platform with their string id. They are host-caused: posted to the program's window
// (host_messages.h) when it has one.
#pragma once

// Texts longer than this are cut.
constexpr int kMessageTextSize = 1024;

void ShowFormatted(int stringId, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
