#include "shell/win32/job_printer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "connections/automation_view.h"
#include "engine/win32/win32_view_port.h"
#include "fw_file_dialog.h"
#include "fw_print_dialog.h"
#include "session/session_record.h"

namespace {

// An open printer: its device context, the job font and the font it replaced.
class Win32PrinterDevice final : public PrinterDevice {
public:
    explicit Win32PrinterDevice(HDC dc) : dc_(dc) {}

    bool StartDocument(const char* documentName) override
    {
        DOCINFOA info{};
        info.cbSize = sizeof info;
        info.lpszDocName = documentName;
        docStarted_ = StartDocA(dc_, &info) > 0;
        return docStarted_;
    }
    bool StartPage() override { return ::StartPage(dc_) > 0; }
    bool EndPage() override { return ::EndPage(dc_) > 0; }
    bool EndDoc() override
    {
        docStarted_ = false;
        return ::EndDoc(dc_) > 0;
    }
    void AbortDoc() override
    {
        if (docStarted_) ::AbortDoc(dc_);
        docStarted_ = false;
    }
    void SelectJobFont() override
    {
        if (font_) SelectObject(dc_, font_);
    }
    bool PrintText(int x, int y, const char* text, int length, uint32_t foreground, uint32_t background) override
    {
        // Palette-relative colours mean nothing to a printer: plain RGB.
        SetTextColor(dc_, foreground & 0xFFFFFF);
        SetBkColor(dc_, background & 0xFFFFFF);
        SetBkMode(dc_, OPAQUE);
        // Each character at its column (the job places columns by the average width, which a
        // face's own advance need not match).
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        const std::vector<INT> advances(static_cast<std::size_t>(std::max(length, 1)), metrics.tmAveCharWidth);
        return ExtTextOutA(dc_, x, y, 0, nullptr, text, static_cast<UINT>(length), advances.data()) != FALSE;
    }
    void Release() override
    {
        AbortDoc();
        if (oldFont_) SelectObject(dc_, oldFont_);
        if (font_) DeleteObject(font_);
        DeleteDC(dc_);
        delete this;
    }

    // Creates and selects the job font for ScreenDumpType 1 and 2, its height the largest with
    // which MaxCols average-width characters fit the page's width; type 0 keeps the printer's.
    void ChooseFont()
    {
        if (Rec->ScreenDumpType == 0) return;
        LOGFONTA lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH;
        if (Rec->ScreenDumpType == 1) {
            static_assert(sizeof lf == sizeof Rec->CurrentFont, "LogFont is a LOGFONTA");
            std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
        } else {
            const char* face = AutoView().DocumentString("ScreenDumpFont");
            std::strncpy(lf.lfFaceName, face ? face : "", sizeof lf.lfFaceName - 1);
            lf.lfWeight = Rec->ScreenDumpFontWeight;
            lf.lfItalic = Rec->ScreenDumpFontItalic;
        }
        const int width = GetDeviceCaps(dc_, HORZRES);
        const int height = LargestFittingFontHeight(Rec->MaxCols, width, [&](int h) {
            lf.lfHeight = -h;
            lf.lfWidth = 0;
            HFONT trial = CreateFontIndirectA(&lf);
            if (!trial) return width + 1;
            HGDIOBJ before = SelectObject(dc_, trial);
            TEXTMETRICA metrics{};
            GetTextMetricsA(dc_, &metrics);
            SelectObject(dc_, before);
            DeleteObject(trial);
            return static_cast<int>(metrics.tmAveCharWidth);
        });
        lf.lfHeight = height;
        lf.lfWidth = 0;
        font_ = CreateFontIndirectA(&lf);
        if (font_) oldFont_ = SelectObject(dc_, font_);
    }

    PrinterMetrics Metrics() const
    {
        PrinterMetrics m;
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        m.horizontalResolution = GetDeviceCaps(dc_, HORZRES);
        m.verticalResolution = GetDeviceCaps(dc_, VERTRES);
        m.height = metrics.tmHeight;
        m.externalLeading = metrics.tmExternalLeading;
        m.averageWidth = metrics.tmAveCharWidth;
        m.charset = metrics.tmCharSet;
        return m;
    }

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    bool docStarted_ = false;
};

// The session document's title: the main window's caption.
std::string DocumentTitle(ViewWindow window)
{
    char title[128] = {};
    if (HWND root = GetAncestor(ViewHandle(window), GA_ROOT)) GetWindowTextA(root, title, sizeof title);
    return title[0] ? title : "Tolvi";
}

// The save dialog; a name typed without an extension gets `extension`.
bool AskSaveFile(ViewWindow window, const char* initial, const char* filter, const char* extension,
                 std::string& chosen)
{
    FwFileDialog dialog;
    dialog.open = false;
    dialog.fileName = initial;
    dialog.filter = filter;
    dialog.defaultExtension = extension;
    dialog.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!dialog.DoModal(ViewHandle(window))) return false;
    chosen = dialog.fileName;
    return true;
}

}  // namespace

PrinterChoice Win32JobPrinter::Choose(ViewWindow window, const PrintJob& job, bool hostAsked, bool offerSelection)
{
    PrinterChoice choice;
    FwPrintDialog dialog;
    dialog.offerSelection = offerSelection && job.fromScreen;
    if (hostAsked && !dialog.UseDefaultPrinter()) {
        choice.outcome = PrinterChoice::kNoPrinter;
        return choice;
    }
    if (!hostAsked && !dialog.DoModal(ViewHandle(window))) return choice;
    choice.selection = dialog.selection;
    if (dialog.printToFile) {
        choice.outcome = PrinterChoice::kToFile;
        return choice;
    }
    auto* device = new Win32PrinterDevice(dialog.dc);
    device->ChooseFont();
    choice.outcome = PrinterChoice::kPrinter;
    choice.device = device;
    choice.metrics = device->Metrics();
    choice.documentName = DocumentTitle(window);
    choice.deviceName = dialog.device;
    choice.port = dialog.port;
    return choice;
}

bool Win32JobPrinter::AskCaptureFile(ViewWindow window, const char* initial, char* path, std::size_t size)
{
    std::string chosen;
    if (!AskSaveFile(window, initial,
                     "Capture Text files (*.cap)|*.cap|Text files (*.txt; *.text)|*.txt;*.text|Other files (*.*)|*.*||",
                     "cap", chosen))
        return false;
    if (chosen.size() + 1 > size) return false;
    std::memcpy(path, chosen.c_str(), chosen.size() + 1);
    return true;
}

bool Win32JobPrinter::AskDumpFile(ViewWindow window, const char* initial, std::string& path)
{
    return AskSaveFile(window, initial, "DOS Text files (*.txt;*.text)|*.txt;*.text|Other files (*.*)|*.*||", "txt",
                       path);
}

void InstallJobPrinterWin32()
{
    static Win32JobPrinter printer;
    SetPrinterJobs(&printer);
}
