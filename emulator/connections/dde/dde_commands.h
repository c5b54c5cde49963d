// What the session's DDE server does with the data of an execute or a poke: send text to the host
// as typed text ("tohost"), run it as an action string ("tohostx"), or copy a screen rectangle
// into the "txtret" item ("gettxt"). Window-free: the DDE classes hand the raw transaction data
// over, bounded by the DDE data size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class DdeCommand { None, ToHost, ToHostX, GetTxt };

struct DdeExecuteCommand {
    DdeCommand command = DdeCommand::None;
    std::string text;  // what follows the command word and its semicolon, up to a NUL or the end
};

// Parses execute data of `size` bytes: "tohost;", "tohostx;" or "gettxt;" (any letter case)
// followed by text. The data need not be NUL-terminated; nothing beyond `size` is read.
DdeExecuteCommand ParseDdeExecute(const uint8_t* data, std::size_t size);

// The command an item name stands for on a poke (compared without regard to case); "txtret" and
// any other name stand for none.
DdeCommand CommandOfItem(const char* itemName);

// Receives the text of a successful "gettxt".
class DdeTextSink {
public:
    virtual ~DdeTextSink() = default;
    virtual void SetText(const char* text) = 0;
};

// Runs an action string through the active terminal view; returns the interpreter's result, 0
// when there is no active view. Until the view installs one, action strings do nothing.
using DdeActionRunner = int (*)(const char* text);
void SetDdeActionRunner(DdeActionRunner runner);

// Carries out a command with its text: ToHost decodes the key-string notation (national
// conversion on) and sends the bytes with SendToHost; ToHostX runs the action string; GetTxt
// copies the rectangle of the session's screen into `txtret` (nothing when the parameters are
// bad or `txtret` is null).
void RunDdeCommand(DdeCommand command, const std::string& text, DdeTextSink* txtret);
