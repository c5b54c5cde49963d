#include "engine/host_commands/host_print.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/host_commands/host_commands.h"
#include "engine/host_commands/host_system.h"
#include "engine/host_commands/message_text.h"
#include "engine/host_commands/host_application.h"
#include "engine/host_commands/print_device.h"
#include "engine/view_port.h"
#include "host_platform.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

constexpr int kPane = 1;
constexpr uint32_t kPaneText = 0x800000;
constexpr uint32_t kPaneBack = 0xC0C0C0;
constexpr int kDefaultPrinterLimit = 128;
constexpr int kOldPlatformPause = 200;
constexpr uint8_t kFormFeed = 0x0C;
constexpr uint8_t kEsc = 0x1B;

constexpr int kMessageOpenFailed = 39;
constexpr int kMessageDefaultFailed = 49;
constexpr int kMessageOutOfTimers = 72;
constexpr int kMessageNoPassthrough = 81;

constexpr const char* kWindowsDefaultPrinter = "Windows Default Printer";

// The pass-through block (count and data) while a device-interface job may need it.
std::vector<uint8_t> passthroughBuffer;

// The form feed held back at the end of a job, with what followed it.
struct HeldFormFeed {
    bool present = false;
    bool escapeSeen = false;
    std::string bytes;
} held;

bool passthroughNt = false;

int PrinterSetting(int printer, int first, int second, int third)
{
    switch (printer) {
    case 1: return first;
    case 2: return second;
    case 3: return third;
    default: return 0;
    }
}

std::string PrinterName(int printer) { return Application().GetPrinterName(printer); }

bool IsDefaultPrinterName(const std::string& name)
{
    if (name.empty()) return true;
    if (name.size() != std::strlen(kWindowsDefaultPrinter)) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(kWindowsDefaultPrinter[i])))
            return false;
    return true;
}

bool IsFileDestination(const std::string& name)
{
    return !name.empty() && name.find_first_of(" ,") == std::string::npos;
}

void ShowPane(const std::string& text) { View().SetStatusPane(text.c_str(), kPane, kPaneText, kPaneBack); }
void ClearPane() { View().SetStatusPane("", kPane, kPaneText, kPaneBack); }

std::string DefaultPrinter()
{
    std::string device = Printers().DefaultPrinter();
    if (device.size() > kDefaultPrinterLimit) device.resize(kDefaultPrinterLimit);
    return device;
}

// "device,driver,port" (blanks after the commas skipped); false when a part is missing.
bool SplitDeviceName(const std::string& name, std::string& device, std::string& driver, std::string& port)
{
    const std::size_t first = name.find(',');
    if (first == std::string::npos) return false;
    const std::size_t second = name.find(',', first + 1);
    if (second == std::string::npos) return false;
    auto trimmed = [](const std::string& text) {
        const std::size_t start = text.find_first_not_of(' ');
        return start == std::string::npos ? std::string() : text.substr(start);
    };
    device = name.substr(0, first);
    driver = trimmed(name.substr(first + 1, second - first - 1));
    port = trimmed(name.substr(second + 1));
    return !device.empty() && !driver.empty() && !port.empty();
}

void SendPassthrough(const uint8_t* bytes, int length)
{
    if (length <= 0 || passthroughBuffer.size() < 2u + kPassthroughBytes) return;
    if (length > kPassthroughBytes) length = kPassthroughBytes;
    passthroughBuffer[0] = static_cast<uint8_t>(length & 0xFF);
    passthroughBuffer[1] = static_cast<uint8_t>(length >> 8);
    std::memcpy(passthroughBuffer.data() + 2, bytes, static_cast<std::size_t>(length));
    Printers().Escape(kEscapePassthrough, passthroughBuffer.data(), length + 2);
}

void DropHeldFormFeed()
{
    held.present = false;
    held.escapeSeen = false;
    held.bytes.clear();
    held.bytes.shrink_to_fit();
}

// Step 1 of the pass-through: takes the bytes that may follow a held form feed. Returns the
// position of the first byte left for the normal path.
int TakeHeldBytes(const uint8_t* bytes, int length)
{
    int i = 0;
    while (held.present && i < length) {
        const uint8_t c = bytes[i];
        bool take = false;
        bool escapeSeen = held.escapeSeen;
        if (c == '\r' || c == '\n') {
            take = true;
        } else if (c == kFormFeed) {
            take = held.bytes.empty();
        } else if (c == kEsc) {
            take = true;
            escapeSeen = true;
        } else if (held.escapeSeen) {
            take = true;
            escapeSeen = false;
        }
        if (take && held.bytes.size() < static_cast<std::size_t>(kHeldFormFeedBytes)) {
            held.bytes.push_back(static_cast<char>(c));
            held.escapeSeen = escapeSeen;
            ++i;
            continue;
        }
        // Anything else (or no room left): the held bytes are printed after all.
        SendPassthrough(reinterpret_cast<const uint8_t*>(held.bytes.data()), static_cast<int>(held.bytes.size()));
        DropHeldFormFeed();
    }
    return i;
}

int EndSpoolerJob(int immediate)
{
    SettingsRecord& rec = *Rec;
    if (rec.HostPrintActive == 0) return 0;
    const int delay = PrinterSetting(rec.HostPrintActive, rec.DelaySpool1, rec.DelaySpool2, rec.DelaySpool3);
    if (!immediate && delay != 0 && System().HasView()) {
        if (System().SetViewTimer(kPrintCloseTimer, delay)) return 0;
        ShowFormatted(kMessageOutOfTimers, "%s",
                      "Out of System Timers.\nUnable to run timer-dependant tasks.\n"
                      "Quit one or more other applications and then retry.");
    }
    const bool toFile = rec.HostPrintActive == kPrintingToFile;
    rec.HostPrintActive = 0;
    ClearPane();
    if (toFile) {
        if (rec.HostPrintFile) std::fclose(rec.HostPrintFile);
        rec.HostPrintFile = nullptr;
        return 1;
    }
    const bool pageEnded = Printers().EndRawPage();
    const bool documentEnded = Printers().EndRawDocument();
    Printers().ClosePrinter();
    return pageEnded && documentEnded ? 1 : 0;
}

int EndContextJob()
{
    SettingsRecord& rec = *Rec;
    DropHeldFormFeed();
    if (rec.HostPrintActive == 0) return 0;
    const bool toFile = rec.HostPrintActive == kPrintingToFile;
    rec.HostPrintActive = 0;
    ClearPane();
    if (toFile) {
        if (rec.HostPrintFile) std::fclose(rec.HostPrintFile);
        rec.HostPrintFile = nullptr;
        return 1;
    }
    if (Printers().HasContext()) {
        if (Printers().OldPlatform()) Application().DelayMs(kOldPlatformPause);
        Printers().Escape(kEscapeEndDoc, nullptr, 0);
        Printers().DeleteContext();
    }
    // The context and the block are gone; the next job creates both again.
    passthroughBuffer.clear();
    passthroughBuffer.shrink_to_fit();
    return 1;
}

int StartSpoolerJob(int printer, std::string name)
{
    if (IsDefaultPrinterName(name)) {
        name = DefaultPrinter();
        if (name.empty()) {
            ShowFormatted(kMessageDefaultFailed, "Failed to open (windows default) Terminal Printer: %s", name.c_str());
            return 0;
        }
    }
    name = name.substr(0, name.find(','));
    PrintDevice& device = Printers();
    if (!device.OpenPrinter(name)) return 0;
    if (!device.StartRawDocument(Application().GetDocumentTitle())) {
        device.ClosePrinter();
        return 0;
    }
    if (!device.StartRawPage()) {
        device.EndRawDocument();
        device.ClosePrinter();
        return 0;
    }
    Rec->HostPrintActive = printer;
    ShowPane("Printing to " + name);
    return printer;
}

int StartContextJob(int printer)
{
    PrintDevice& device = Printers();
    if (!device.HasContext() && !CreatePrinterDC(printer)) return 0;
    if (passthroughBuffer.empty()) passthroughBuffer.assign(2u + kPassthroughBytes, 0);
    if (!device.SupportsEscape(kEscapePassthrough)) {
        passthroughBuffer.clear();
        passthroughBuffer.shrink_to_fit();
        device.DeleteContext();
        std::string name = PrinterName(printer);
        if (IsDefaultPrinterName(name)) name = DefaultPrinter();
        ShowFormatted(kMessageNoPassthrough,
                      "Printer driver does not support PASSTHROUGH Escape:\n %s\nContact support to get a new "
                      "printer driver,\n or install the TolviRAW driver (only for W3.1x and W95)\n from the "
                      "installation media .",
                      name.c_str());
        return 0;
    }
    if (device.SupportsEscape(kEscapeEpsPrinting)) {
        const uint16_t on = 1;
        device.Escape(kEscapeEpsPrinting, &on, sizeof on);
    }
    device.StartContextDocument(Application().GetDocumentTitle());
    Rec->HostPrintActive = 1;
    return 1;
}

void StartHook(int printer) { StartPrint(printer); }
void EndHook(int immediate) { EndPrint(immediate); }

}  // namespace

int StartPrintFile(const char* name, const char* mode)
{
    SettingsRecord& rec = *Rec;
    // A job still open (a spooler job waiting for its close delay) ends first, so that neither it
    // nor the file is left behind.
    if (rec.HostPrintActive != 0) {
        System().KillViewTimer(kPrintCloseTimer);
        EndPrint(1);
    }
    if (rec.HostPrintFile) std::fclose(rec.HostPrintFile);
    rec.HostPrintFile = name && *name ? std::fopen(name, mode) : nullptr;
    rec.HostPrintActive = rec.HostPrintFile ? kPrintingToFile : 0;
    if (rec.HostPrintFile) ShowPane(std::string("Printing to ") + name);
    return rec.HostPrintActive;
}

bool CreatePrinterDC(int printer)
{
    std::string device, driver, port;
    const std::string name = PrinterName(printer);
    if (!IsDefaultPrinterName(name)) {
        if (!SplitDeviceName(name, device, driver, port)) {
            ShowFormatted(kMessageOpenFailed, "Failed to open Terminal Printer: %s", name.c_str());
            return false;
        }
    } else {
        const std::string fallback = DefaultPrinter();
        if (!SplitDeviceName(fallback, device, driver, port)) {
            ShowFormatted(kMessageDefaultFailed, "Failed to open (windows default) Terminal Printer: %s",
                          fallback.c_str());
            return false;
        }
    }
    const std::string described = device + " at " + port + " (" + driver + ")";
    if (!Printers().CreateContext(driver, device, port)) {
        ShowFormatted(kMessageOpenFailed, "Failed to open Terminal Printer: %s", described.c_str());
        passthroughNt = false;
        return false;
    }
    ShowPane("Printing to: " + described);
    passthroughNt = Printers().PassthroughNtPlatform();
    return true;
}

int StartPrint(int printer)
{
    SettingsRecord& rec = *Rec;
    if (rec.HostPrintActive != 0) {
        System().KillViewTimer(kPrintCloseTimer);
        if (printer == rec.HostPrintActive) return rec.HostPrintActive;
        EndPrint(1);
    }
    std::string name = PrinterName(printer);
    rec.PrinterXlate = PrinterSetting(printer, rec.TermPrt1Xlate, rec.TermPrt2Xlate, rec.TermPrt3Xlate);
    if (IsFileDestination(name)) {
        if (name.back() == ':') name.pop_back();
        return StartPrintFile(name.c_str(), "ab");
    }
    return rec.Win32PrintSpool ? StartSpoolerJob(printer, name) : StartContextJob(printer);
}

int EndPrint(int immediate) { return Rec->Win32PrintSpool ? EndSpoolerJob(immediate) : EndContextJob(); }

void PrinterCharConvert(uint8_t* bytes, int length)
{
    if (!bytes || length <= 0) return;
    const SettingsRecord& rec = *Rec;
    const auto n = static_cast<std::size_t>(length);
    if (rec.Charset == 1 && rec.PrinterXlate == 4 && bytes[0] >= 0x80) {
        Platform().OemToAnsiBytes(bytes, bytes, n);
    } else if (rec.Charset == 1 || rec.Charset == 2) {
        for (int i = 0; i < length; ++i) bytes[i] = SessionTranslateTables.Incoming[bytes[i]];
    }
    if (rec.PrinterXlate == 4 && rec.Charset != 4)
        Platform().AnsiToOemBytes(bytes, bytes, n);
    else if (rec.PrinterXlate == 3 && rec.Charset == 4)
        Platform().OemToAnsiBytes(bytes, bytes, n);
}

int PassthroughPrint(const uint8_t* bytes, int length)
{
    int i = 0;
    while (i < length) {
        i += TakeHeldBytes(bytes + i, length - i);
        if (i >= length) break;
        int n = length - i < kPassthroughBytes ? length - i : kPassthroughBytes;
        if (passthroughNt && Rec->SmartNTFF) {
            const void* formFeed = std::memchr(bytes + i, kFormFeed, static_cast<std::size_t>(n));
            if (formFeed) {
                n = static_cast<int>(static_cast<const uint8_t*>(formFeed) - (bytes + i));
                held.present = true;
                held.escapeSeen = false;
            }
        }
        SendPassthrough(bytes + i, n);
        i += n;
    }
    return 1;
}

int PrintData(const uint8_t* bytes, int length)
{
    SettingsRecord& rec = *Rec;
    if (rec.HostPrintActive == 0 || !bytes || length <= 0) return rec.HostPrintActive;
    // Converted in slices of a local copy: the caller's bytes stay as they are.
    uint8_t slice[kPassthroughBytes];
    for (int done = 0; done < length && rec.HostPrintActive != 0;) {
        const int n = length - done < kPassthroughBytes ? length - done : kPassthroughBytes;
        std::memcpy(slice, bytes + done, static_cast<std::size_t>(n));
        done += n;
        if (rec.PrinterXlate != 0) PrinterCharConvert(slice, n);
        if (rec.HostPrintActive == kPrintingToFile) {
            const std::size_t written = rec.HostPrintFile ? std::fwrite(slice, 1, static_cast<std::size_t>(n), rec.HostPrintFile) : 0;
            if (written < static_cast<std::size_t>(n)) EndPrint(0);
        } else if (rec.Win32PrintSpool) {
            Printers().WritePrinter(slice, n);
        } else {
            PassthroughPrint(slice, n);
        }
    }
    return rec.HostPrintActive;
}

HostPrintHooks HostPrintingHooks() { return HostPrintHooks{&StartHook, &EndHook}; }

void InstallHostPrinting() { PrintHooks = HostPrintingHooks(); }

void PrintByte(uint8_t byte) { PrintData(&byte, 1); }

int StartCaptureFile(const char* mode)
{
    errno = 0;
    if (StartPrintFile(CaptureFileName().c_str(), mode)) return 0;
    const int error = errno ? errno : ENOENT;
    ShowFormatted(kMessageOpenFailed, "Failed to open Terminal Printer: %s. Error %d", CaptureFileName().c_str(), error);
    return error;
}
