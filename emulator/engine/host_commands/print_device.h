// The printer devices of host printing: a printer through the print spooler in raw mode, and a
// printer context of the graphics device interface that takes pass-through escapes.
//
// Host printing calls the installed PrintDevice; the Windows program installs the Win32 one
// (win32/win32_print_device.h). The quiet one has no printers: every open fails.
#pragma once

#include <cstdint>
#include <string>

// Printer escapes.
constexpr int kEscapeEndDoc = 11;
constexpr int kEscapePassthrough = 19;
constexpr int kEscapeEpsPrinting = 33;

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    // The [windows] "device" profile string: "device,driver,port" of the default printer.
    virtual std::string DefaultPrinter() { return std::string(); }

    // ---- Spooler: one open printer at a time.
    virtual bool OpenPrinter(const std::string& name) { return false; }
    // A level-1 document with data type "RAW" and no output file.
    virtual bool StartRawDocument(const std::string& documentName) { return false; }
    virtual bool StartRawPage() { return false; }
    // Returns the bytes written.
    virtual int WritePrinter(const uint8_t* bytes, int length) { return 0; }
    virtual bool EndRawPage() { return false; }
    virtual bool EndRawDocument() { return false; }
    virtual void ClosePrinter() {}

    // ---- Device interface: one printer context at a time.
    virtual bool CreateContext(const std::string& driver, const std::string& device, const std::string& port)
    {
        return false;
    }
    virtual bool HasContext() { return false; }
    // Whether the context supports an escape (QUERYESCSUPPORT).
    virtual bool SupportsEscape(int escape) { return false; }
    // Sends an escape with its input data; the driver's result.
    virtual int Escape(int escape, const void* data, int length) { return 0; }
    virtual bool StartContextDocument(const std::string& documentName) { return false; }
    virtual void DeleteContext() {}

    // ---- Platform tests.
    // The platform reports version 3.10 with 5 in the high byte of its build field: a form feed at
    // the end of a job is held back there (SmartNTFF).
    virtual bool PassthroughNtPlatform() { return false; }
    // Major version 3 with a minor below 95: the end of a document waits 200 ms first.
    virtual bool OldPlatform() { return false; }
};

PrintDevice& Printers();
// Installs the devices (not owned); null puts the quiet ones back.
void SetPrintDevice(PrintDevice* device);
