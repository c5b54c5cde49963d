// test_printer_tool add PORT | remove
//
// Installs the tests' Wine printer (the PostScript driver with our small PPD, its port the file
// PORT) and makes it the default printer, or removes it and its driver, for the end-to-end tests
// of Tolvi.exe, which print through it.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "test_printer.h"

int main(int argc, char** argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "add")) {
        std::string failure;
        if (!AddTestPrinter(argv[2], failure)) {
            std::fprintf(stderr, "test_printer_tool: %s\n", failure.c_str());
            return 2;
        }
        if (!SetDefaultPrinterA(kTestPrinter)) {
            std::fprintf(stderr, "test_printer_tool: SetDefaultPrinter %lu\n", GetLastError());
            RemoveTestPrinter();
            return 2;
        }
        return 0;
    }
    if (argc == 2 && !std::strcmp(argv[1], "remove")) {
        RemoveTestPrinter();
        return 0;
    }
    std::fprintf(stderr, "usage: test_printer_tool add PORT | remove\n");
    return 1;
}
