// The text form of byte strings in the golden files: \e ESC, \r, \n, \t, \s a blank, \xHH any
// byte and \\ a backslash.
#pragma once

#include <string>

std::string Unescape(const std::string& text);
// ESC as \e, other controls, bytes above 0x7E and the backslash as \xHH.
std::string Escape(const std::string& bytes);
std::string RightTrimmed(std::string s);
