// The "Host Name" prompt shown before a network connection: the framework dialog 605 preset with
// the host; a name of more than 60 characters is refused with the framework's message.
#pragma once

#include <windows.h>

#include <cstddef>

// Shows the prompt over `owner`, preset with `host` (a NUL-terminated text of `size` bytes).
// True on OK, with the new name in `host` (always terminated within `size`); false on Cancel,
// `host` unchanged.
bool AskHostNameDialog(HWND owner, char* host, std::size_t size);
