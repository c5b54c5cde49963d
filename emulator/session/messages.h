// Message boxes of the shell and the texts of their string-table ids.
//
// The window-free code asks its questions through ShellPrompts: Tolvi.exe shows real message
// boxes, the tests answer from a script. The values of the styles and answers are the platform's
// message-box values.
#pragma once

#include <string>

enum MessageStyle : int {
    kMsgOk = 0x00,
    kMsgOkCancel = 0x01,
    kMsgYesNoCancel = 0x03,
    kMsgYesNo = 0x04,
    kMsgIconStop = 0x10,
    kMsgIconQuestion = 0x20,
    kMsgIconExclamation = 0x30,
    kMsgIconInformation = 0x40,
};

enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

class ShellPrompts {
public:
    virtual ~ShellPrompts() = default;
    // Shows text (string-table id stringId, 0 for none) with the style; returns the answer.
    virtual int Ask(int stringId, const std::string& text, int style) = 0;
};

// The installed prompts; until a program installs its own, every question gets its first
// button (OK or Yes) and nothing is shown. Not owned.
ShellPrompts& Prompts();
void SetPrompts(ShellPrompts* prompts);

// The English text of a string-table id, "" for an id this table does not hold.
const char* MessageText(int stringId);

// The string-table text followed by the printf-formatted arguments (1024 characters in all).
// Callers pass their own literal formats; outside text only ever goes in as an argument.
int ShowMessage(int stringId, int style, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// The same for a message that host data caused: posted to the program's window and shown after
// the block (host_messages.h); without a window, asked at once like ShowMessage.
void ShowHostMessage(int stringId, int style, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// The string-table text with every "%1" replaced by name, shown with the style.
int ShowNamedMessage(int stringId, int style, const std::string& name);
