// Host printing's printer devices in the Windows program: raw jobs through the print spooler and a
// printer context of the graphics device interface with its escapes.
#pragma once

#include <windows.h>

#include "engine/host_commands/print_device.h"

class Win32PrintDevice : public PrintDevice {
public:
    ~Win32PrintDevice() override;

    std::string DefaultPrinter() override;
    bool OpenPrinter(const std::string& name) override;
    bool StartRawDocument(const std::string& documentName) override;
    bool StartRawPage() override;
    int WritePrinter(const uint8_t* bytes, int length) override;
    bool EndRawPage() override;
    bool EndRawDocument() override;
    void ClosePrinter() override;
    bool CreateContext(const std::string& driver, const std::string& device, const std::string& port) override;
    bool HasContext() override { return context_ != nullptr; }
    bool SupportsEscape(int escape) override;
    int Escape(int escape, const void* data, int length) override;
    bool StartContextDocument(const std::string& documentName) override;
    void DeleteContext() override;
    bool PassthroughNtPlatform() override;
    bool OldPlatform() override;

private:
    HANDLE printer_ = nullptr;
    HDC context_ = nullptr;
};
