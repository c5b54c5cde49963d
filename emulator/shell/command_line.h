// Tolvi's command line: splitting it into tokens, the positional arguments before the first
// option, and the options "/name:value" or "-name:value" one at a time.
#pragma once

#include <string>

// The most tokens taken from a command line, and the scan limit in characters.
constexpr int kMaxCommandTokens = 20;
constexpr int kMaxPositionalArgs = 10;
constexpr int kCommandScanLimit = 200;

// Replaces a leading double quote by a blank and drops the trailing one when the line is longer
// than one character and starts and ends with a double quote.
void StripEnclosingQuotes(std::string& line);

// Splits text in place into at most limit tokens (pointers into text; the rest set to null):
// blanks and control characters separate tokens; a token runs to a control character or to a
// blank directly followed by '/'; a double quote after the token's first character opens a part
// that runs to the next double quote, blanks and " /" included. The character that ended a token
// becomes its terminator. A token must start before the 200th character. Returns the count.
int SplitCommandLine(char** tokens, int limit, char* text);

// Copies the tokens before the first that begins with '/' or '-' (at most limit). Returns the count.
int PickPositionalArgs(int count, char** tokens, char** positional, int limit);

struct CommandOption {
    int id;
    const char* name;
};

// The options Tolvi knows (ids 2700-2727) and their count.
extern const CommandOption kCommandOptions[];
extern const int kCommandOptionCount;

// Takes the next option from tokens[cursor...]: returns its id, -1 for an unknown name, 0 when no
// option is left. name gets the text after the prefix up to ':' or a blank; value the text after
// ':' and blanks (or the next token when this one holds none and the next is no option), a quoted
// value without its quotes. cursor moves past every token taken.
int NextOption(int tokenCount, char** tokens, const CommandOption* options, int optionCount,
               std::string& name, std::string& value, int& cursor);
