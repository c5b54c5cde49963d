// The framework's own user texts: the prompts of the data exchange and the substitution of their
// %1, %2 ... arguments. Window-free.
#pragma once

#include <initializer_list>
#include <string>

constexpr const char* kFwPromptIntRange = "Please enter an integer between %1 and %2.";
constexpr const char* kFwPromptMaxChars = "Please enter no more than %1 characters.";
constexpr const char* kFwPromptInt = "Please enter an integer.";
constexpr const char* kFwPromptUnsigned = "Please enter a positive integer.";

// The pattern with %1 ... %9 replaced by the arguments in order; "%%" gives one "%", a number
// without an argument and any other "%" stay as written.
std::string FwFormatPrompt(const char* pattern, std::initializer_list<std::string> arguments);
