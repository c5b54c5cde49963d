// The "Host Name" prompt shown before a network connection: a modal dialog preset with the host;
// at most 60 characters can be typed.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr int kHostNameLimit = 60;

// Shows the prompt over `owner`, preset with `host` (a NUL-terminated text of `size` bytes).
// True on OK, with the new name in `host` (at most 60 characters and always terminated within
// `size`); false on Cancel, `host` unchanged.
bool AskHostNameDialog(HWND owner, char* host, std::size_t size);
