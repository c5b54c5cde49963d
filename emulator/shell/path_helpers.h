// Path helpers of the shell. Both '\' and '/' separate folders (the platform accepts either).
#pragma once

#include <string>

bool IsPathSeparator(char c);

// The path without its last '.' and what follows it, when that dot lies in the file-name part,
// then '.' and the extension. An empty path gives "" (the caller keeps its result).
std::string ReplaceExtension(const std::string& path, const std::string& extension);

// The folder part of a path with a trailing separator; a path without any separator is returned
// whole with a backslash appended; an empty path gives "".
std::string GetPathDirectory(const std::string& path);

// The configuration name as start-up takes it: a name ending in a separator gets "tolvi"
// appended; a file-name part without any '.' gets ".wcf" (a dot in a folder name does not count).
std::string CompleteConfigName(const std::string& name);

// True when the name holds neither ':' nor a separator (it is then searched along PATH).
bool IsBareName(const std::string& name);

// The file found in the current folder, then in the folders of the environment's PATH; "" when
// none holds it. A name with a folder is only checked as it stands.
std::string FindAlongPath(const std::string& name);

// Copies source onto target (append: onto its end, creating it when missing). Returns 0 after a
// complete copy and -1 on any failure; source and target naming the same file is a failure that
// leaves the file untouched.
int CopyOrAppendFile(const std::string& source, const std::string& target, bool append);

// The first 16 characters of name, padded with blanks to exactly 16.
std::string PadNetbiosName(const std::string& name);

// Makes the path's drive and folder current. 0 success, -1 for an empty path, else failure
// (reported with message 82).
int ChangeToPathDirectory(const std::string& path);

// True when the file exists and can be opened for reading.
bool FileReadable(const std::string& path);
