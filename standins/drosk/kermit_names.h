// The local name of a received file: only the last component of the name the sender gave, so
// that a received file never lands outside the folder of the transfer.
#pragma once

#include <string>

namespace drosk {

// False when nothing usable is left ("", ".", "..", names of dots and blanks only, or names
// with control characters).
bool LocalNameFor(const std::string& sent, std::string* local);

// The name we announce for a file we send: its path without folders.
std::string SentNameFor(const std::string& path);

}  // namespace drosk
