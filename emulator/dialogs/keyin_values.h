// The one-line prompt's window-free rules: where its "..." button's file dialog starts.
#pragma once

#include <string>

// The folder part of a file name the prompt holds ("c:\logs\a.trc" -> "c:\logs", "d:a.trc" ->
// "d:", "\a.trc" -> "\"); empty when the name has no folder. The file dialog starts there; the
// process's current folder is left alone.
std::string StartFolderOf(const std::string& answer);
