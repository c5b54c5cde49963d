// The text side of host file commands: the split of a command line into its command word and
// two arguments, and the wildcard match of file names. Both take host data.
#pragma once

#include <string>

struct AclWords {
    std::string command;  // upper case
    std::string first, second;
};

// Leading blanks are skipped, a word ends at the next blank; the command, then two arguments.
AclWords SplitAclCommand(const std::string& text);

// '*' matches any run of characters, '?' any one; letters match in either case. The time is at
// most the product of the two lengths, whatever the pattern.
bool WildcardMatch(const std::string& name, const std::string& pattern);
