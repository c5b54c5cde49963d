#include "engine/win32/win32_print_device.h"

#include <winspool.h>

// Our method names, not the system's A/W macros.
#undef OpenPrinter

#include <vector>

Win32PrintDevice::~Win32PrintDevice()
{
    ClosePrinter();
    DeleteContext();
}

std::string Win32PrintDevice::DefaultPrinter()
{
    char device[256] = {};
    ::GetProfileStringA("windows", "device", "", device, sizeof device);
    return device;
}

bool Win32PrintDevice::OpenPrinter(const std::string& name)
{
    ClosePrinter();
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return false;
    printer_ = printer;
    return true;
}

bool Win32PrintDevice::StartRawDocument(const std::string& documentName)
{
    if (!printer_) return false;
    DOC_INFO_1A info = {};
    info.pDocName = const_cast<char*>(documentName.c_str());
    info.pOutputFile = nullptr;
    info.pDatatype = const_cast<char*>("RAW");
    return ::StartDocPrinterA(printer_, 1, reinterpret_cast<BYTE*>(&info)) != 0;
}

bool Win32PrintDevice::StartRawPage() { return printer_ && ::StartPagePrinter(printer_); }

int Win32PrintDevice::WritePrinter(const uint8_t* bytes, int length)
{
    DWORD written = 0;
    if (!printer_ || length <= 0) return 0;
    if (!::WritePrinter(printer_, const_cast<uint8_t*>(bytes), static_cast<DWORD>(length), &written)) return 0;
    return static_cast<int>(written);
}

bool Win32PrintDevice::EndRawPage() { return printer_ && ::EndPagePrinter(printer_); }

bool Win32PrintDevice::EndRawDocument() { return printer_ && ::EndDocPrinter(printer_); }

void Win32PrintDevice::ClosePrinter()
{
    if (printer_) ::ClosePrinter(printer_);
    printer_ = nullptr;
}

bool Win32PrintDevice::CreateContext(const std::string& driver, const std::string& device, const std::string& port)
{
    DeleteContext();
    context_ = ::CreateDCA(driver.c_str(), device.c_str(), port.c_str(), nullptr);
    return context_ != nullptr;
}

bool Win32PrintDevice::SupportsEscape(int escape)
{
    if (!context_) return false;
    const int query = escape;
    return ::Escape(context_, QUERYESCSUPPORT, sizeof query, reinterpret_cast<const char*>(&query), nullptr) > 0;
}

int Win32PrintDevice::Escape(int escape, const void* data, int length)
{
    if (!context_) return 0;
    if (escape == ENDDOC) return ::EndDoc(context_);
    return ::Escape(context_, escape, length, static_cast<const char*>(data), nullptr);
}

bool Win32PrintDevice::StartContextDocument(const std::string& documentName)
{
    if (!context_) return false;
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = documentName.c_str();
    return ::StartDocA(context_, &info) > 0;
}

void Win32PrintDevice::DeleteContext()
{
    if (context_) ::DeleteDC(context_);
    context_ = nullptr;
}

bool Win32PrintDevice::PassthroughNtPlatform()
{
    const DWORD version = ::GetVersion();
    return (version & 0xFFFF) == 0x0A03 && ((version >> 24) & 0xFF) == 5;
}

bool Win32PrintDevice::OldPlatform()
{
    const DWORD version = ::GetVersion();
    return (version & 0xFF) == 3 && ((version >> 8) & 0xFF) < 95;
}
