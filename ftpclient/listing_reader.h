// Fetching a remote directory into a numbered listing file, and reading it back entry by entry
// through the parser of the session's host type.
#pragma once

#include <cstddef>

#include "ftp_net.h"

// Fetches one listing (the LIST command text) into the next listing file; the reply class.
int ftp_list_to_file(FtpSocket control, const char* command);

// Opens the current listing file and returns its first entry that matches `mask` (and is not a
// directory unless `wantDirectories`): 0 with an entry, 1 when there is none (errno ENOENT).
// `name` and `info` are filled up to their sizes; `info` may be null.
int ListingFindFirst(const char* mask, int wantDirectories, char* name, std::size_t nameSize, char* info,
                     std::size_t infoSize, int* kind);
// The next entry: 0, or 1 at the end of the listing (the file is closed, errno ENOENT).
int ListingParser(char* name, std::size_t nameSize, char* info, std::size_t infoSize, int* kind);

// Longest mask kept, and longest listing line read (the rest of a longer line is dropped).
constexpr std::size_t kMaxListingMask = 200;
constexpr std::size_t kMaxListingLine = 65536;
