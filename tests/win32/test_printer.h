// A Wine printer for the tests: the PostScript driver with a small PPD of ours, its port a file.
#pragma once

#include <string>

constexpr const char* kTestPrinter = "Tolvi Test Printer";

// Installs the driver and the printer writing to the file `port`; false with the reason in
// `failure`.
bool AddTestPrinter(const std::string& port, std::string& failure);
// Removes the printer and its driver.
void RemoveTestPrinter();
