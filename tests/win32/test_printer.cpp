#include "test_printer.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>

namespace {

constexpr const char* kTestDriver = "Tolvi Test PostScript";

const char kTestPpd[] =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n*PCFileName: \"TOLVITST.PPD\"\n*Manufacturer: \"Tolvi\"\n"
    "*Product: \"(Tolvi Test Printer)\"\n*ModelName: \"Tolvi Test Printer\"\n"
    "*ShortNickName: \"Tolvi Test Printer\"\n*NickName: \"Tolvi Test Printer\"\n*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n"
    "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
    "*OpenUI *PageSize: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageSize\n"
    "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n*DefaultResolution: 300dpi\n*DefaultFont: Courier\n"
    "*Font Courier: Standard \"(002.004S)\" Standard ROM\n";

}  // namespace

void RemoveTestPrinter()
{
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(kTestPrinter), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverA(nullptr, nullptr, const_cast<char*>(kTestDriver));
}

// Installs the driver and the printer; false with the reason in `failure`.
bool AddTestPrinter(const std::string& port, std::string& failure)
{
    RemoveTestPrinter();
    char driverFolder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverFolder), sizeof driverFolder,
                                    &needed)) {
        failure = "GetPrinterDriverDirectory " + std::to_string(GetLastError());
        return false;
    }
    // The PostScript driver reads the PPD from the driver folder.
    const std::string ppd = std::string(driverFolder) + "\\tolvitst.ppd";
    std::FILE* f = std::fopen(ppd.c_str(), "wb");
    if (!f) {
        failure = "cannot write " + ppd;
        return false;
    }
    std::fputs(kTestPpd, f);
    std::fclose(f);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string driverFile = std::string(system) + "\\wineps.drv";
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kTestDriver);
    driver.pDriverPath = const_cast<char*>(driverFile.c_str());
    driver.pDataFile = const_cast<char*>(ppd.c_str());
    driver.pConfigFile = const_cast<char*>(driverFile.c_str());
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) {
        failure = "AddPrinterDriverEx " + std::to_string(GetLastError());
        return false;
    }
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(kTestPrinter);
    info.pPortName = const_cast<char*>(port.c_str());
    info.pDriverName = const_cast<char*>(kTestDriver);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
        failure = "AddPrinter " + std::to_string(GetLastError());
        return false;
    }
    ClosePrinter(printer);
    return true;
}
