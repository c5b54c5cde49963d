#include "session/messages.h"

#include <cstdarg>
#include <cstdio>

#include "host_messages.h"

namespace {

class QuietPrompts final : public ShellPrompts {
public:
    int Ask(int, const std::string&, int style) override
    {
        return (style & 0x0F) == kMsgYesNo ? kAnswerYes : kAnswerOk;
    }
};

QuietPrompts quietPrompts;
ShellPrompts* installedPrompts = &quietPrompts;

struct MessageEntry {
    int id;
    const char* text;
};

constexpr MessageEntry kMessages[] = {
    {3, "Invalid code. \nEnter hex code as: 00 - 1ff\nor any character as: 'a', '1' ..."},
    {4, "PC KEY name must be specified"},
    {5, "PC KEY must be selected"},
    {6, "Invalid PC KEY selection.  Does not match Keycode in list."},
    {7, "The KeyName '%1' is alreay assigned to the Virtual Key Code '%2'.\nReplace old Key Code mapping?"},
    {8, "DEC KEY name must be specified"},
    {9, "DEC KEY must be selected"},
    {10, "The Send String must be defined"},
    {15, "Failed to read Keyboard translate table from %1"},
    {16, "Failed to read Display xlate table from %1"},
    {17, "Failed to create Keyboard mapping file: %1"},
    {18, "Failed to open Keyboard mapping file: %1"},
    {19, "Failed to open Translate file: %1 "},
    {20, "Failed to open Terminal Key Definition file: %1"},
    {21, "Failed to create Terminal Key Definition file: %1"},
    {22, "Failed to write Terminal Key Definition file: %1"},
    {23, "Failed to write Keyboard Mapping file: %1"},
    {24, "Key Definition list is empty.\nUse 'Advanced ..' button to define new keys."},
    {25, "Failed to create Translate table file: %1"},
    {26, "Failed to write Translate Table file: %1"},
    {27, "Failed to create Trace file: %1"},
    {46, "_getdcwd error: "},
    {47, "Failed to create button definition file: %1"},
    {51, "Your modifications will be canceled"},
    {52, "You are connected.\nNote that your current connection may not reflect \nyour new configuration.  Continue?"},
    {53, "Unable to save configuration"},
    {54, "Unable to read configuration data!\n'%1' is not a valid configuration file."},
    {56, "Accept modifications to selected key ?"},
    {57, "Accept '%1' modification ?"},
    {58, "Load default Translate table from: '%1' ?"},
    {59, "Load default Keyboard Mapping from: '%1'  ?"},
    {60, "Load default Terminal Key Definitions from: '%1'  ?"},
    {61, "Sorting & Saving Keyboard Map to : '%1'  ..."},
    {62, "Saving Terminal Key Definitions to : '%1'  ..."},
    {63, "Saving Translate tables to : '%1'  ..."},
    {64, "Unable to find configuration file: '%1'\nContinue using default settings?"},
    {65, "Out of Memory.\nUnable to perform the requested task.\nQuit one or more other applications and then retry."},
    {66, "Clipboard locked by some other application.\nUnable to copy data."},
    {67, "Terminal type and Platform set to:\n '%1' on '%2'.\nLoad its default Keyboard map, Terminal Key \nand Buttons definitions?"},
    {68, "Country or Character set changed .\nLoad default Translate table for %1?"},
    {70, "This will change all your settings to the default values for Tolvi\nAre you sure you want to Reset to Default configuration?"},
    {71, "Config file updates not allowed.\nYour modifications will be ignored."},
    {74, "WINDOWS termination requested\nDo you want to disconnect this session and exit ?"},
    {75, "This command line option need a value: "},
    {76, "Unknown command line option or value:  "},
    {79, "Load default Buttons from: '%1'  ?"},
    {82, "Working directory not found: "},
    {84, "Warning: Too many history lines for this font size.\n"},
    {88, " You must save the current settings if you want the new session to get them.  \nDo you want to save settings now?"},
    {94, "Error open/writing file: "},
    {95, "Async transfer in progress, \nabort (press ESC) before exit"},
    {96, "Only for telnet TCP/IP transport"},
    {97, "Disconnect first"},
    {1450, "Restart Tolvi for new DDE settings to take effect."},
    {61702, "Could not start print job."},
};

}  // namespace

ShellPrompts& Prompts() { return *installedPrompts; }
void SetPrompts(ShellPrompts* prompts) { installedPrompts = prompts ? prompts : &quietPrompts; }

const char* MessageText(int stringId)
{
    for (const auto& m : kMessages) {
        if (m.id == stringId) return m.text;
    }
    return "";
}

namespace {

std::string MessageWithArguments(int stringId, const char* format, va_list args)
{
    std::string text = stringId ? MessageText(stringId) : "";
    if (format) {
        char formatted[1024];
        std::vsnprintf(formatted, sizeof formatted, format, args);
        text += formatted;
    }
    if (text.size() > 1023) text.resize(1023);
    return text;
}

}  // namespace

int ShowMessage(int stringId, int style, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = MessageWithArguments(stringId, format, args);
    va_end(args);
    return Prompts().Ask(stringId, text, style);
}

void ShowHostMessage(int stringId, int style, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = MessageWithArguments(stringId, format, args);
    va_end(args);
    if (!PostHostMessage(stringId, style, text)) Prompts().Ask(stringId, text, style);
}

int ShowNamedMessage(int stringId, int style, const std::string& name)
{
    std::string text = MessageText(stringId);
    for (std::size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + name.size())) {
        text.replace(at, 2, name);
    }
    return Prompts().Ask(stringId, text, style);
}
