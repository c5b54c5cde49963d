// The three terminal printers (name, character set, spool delay) as their dialog edits them, and
// the printer names it offers, window-free.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "session/document_strings.h"
#include "session/session_record.h"

constexpr int kTerminalPrinters = 3;
constexpr int kDelaySpoolMax = 10000;
// The name that means the system's default printer (string 80).
constexpr const char* kDefaultPrinterName = "Windows Default Printer";

struct TerminalPrinterValues {
    std::string name[kTerminalPrinters];
    // The character set shown: 0 Raw, 1 ISO8859, 2 IBM-PC; -1 none (a stored value that is none
    // of the three, kept on OK).
    int charset[kTerminalPrinters] = {-1, -1, -1};
    int delaySpool[kTerminalPrinters] = {};
};

// Host printing stores 0 (none), 3 (ANSI) and 4 (OEM) as the printer's character set.
int PrinterCharsetChoice(int stored);
int PrinterCharsetSetting(int choice, int stored);

TerminalPrinterValues TerminalPrinterValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
void StoreTerminalPrinterValues(const TerminalPrinterValues& values, SettingsRecord& rec, DocumentStrings& strings);

// An entry of the profile's "devices" section: the device name and its value (none when the
// entry could not be read).
using PrinterDevice = std::pair<std::string, std::optional<std::string>>;

// The names one printer's list offers, in order: the default printer's name; the current name
// unless it is empty or the default's (in any letter case); then each device as "device, value"
// ("driver entry not found" without a value) unless the list holds that text already (in any
// letter case).
std::vector<std::string> PrinterNameChoices(const std::string& current, const std::string& defaultName,
                                            const std::vector<PrinterDevice>& devices);
