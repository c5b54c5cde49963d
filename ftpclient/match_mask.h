// Wildcard matching of file names against a mask, as the listings, the local file list and the
// script language use it.
#pragma once

// 1 when `name` matches `mask`. Mode 0 compares characters exactly; mode 1 ignores case and lets the
// mask "*.*" match every name. "?" matches one character; "*" runs up to the first name character
// equal to the mask character after it, or up to a dot (there is no backtracking, so "*.txt" does
// not match "a.b.txt"); a "*" at the end of the mask matches the rest of the name.
int MatchMask(const char* name, const char* mask, int mode);
