// Multimedia commands: host command 4 carries an MCI command string, which is expanded, sent to
// the multimedia control interface (retrying while a device is busy) and answered as the settings
// ask ("OK", the returned data or the error text).
#pragma once

#include <string>

// The command buffer and the reply text (the reply gets a CR after it).
constexpr int kMciCommandSize = 160;
constexpr int kMciReplySize = 250;
// How often a duplicate alias is closed and the command sent again.
constexpr int kMciDuplicateAliasRetries = 3;

// Runs one command; returns the MCI error code of its last send (0 = success).
int RunMciCommand(const char* text);
// The device part of a command: what follows "alias" (else "open", else "play") and the blanks
// after it, to the end; empty when the command has none of the words.
std::string MciDeviceName(const std::string& command);
// Sends "close <name> wait".
void MciCloseDevice(const std::string& name);
// While the device plays or seeks, waits in steps of a second, at most MciWaitIfBusy seconds.
void MciWaitWhilePlaying(const std::string& name);
// The device or alias of the last command that was not a close command.
const std::string& LastMciDevice();
