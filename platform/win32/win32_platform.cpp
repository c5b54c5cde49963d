#include "win32_platform.h"

#include <windows.h>

#include "fw_dialog.h"

int Win32Platform::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Platform::WindowsCountry() { return static_cast<int>(GetProfileIntA("intl", "iCountry", 1)); }

void Win32Platform::ShowMessage(int, const char* text)
{
    // Through the framework, so that a test's dialog hook answers it.
    FwMessageBox(GetActiveWindow(), text, MB_OK | MB_ICONEXCLAMATION);
}

// The conversions take a DWORD length: long buffers go in slices.
namespace {

template <typename Convert>
void InSlices(const uint8_t* source, uint8_t* destination, std::size_t length, Convert convert)
{
    constexpr std::size_t kSlice = 1u << 30;
    while (length > 0) {
        const std::size_t n = length < kSlice ? length : kSlice;
        convert(reinterpret_cast<const char*>(source), reinterpret_cast<char*>(destination),
                static_cast<DWORD>(n));
        source += n;
        destination += n;
        length -= n;
    }
}

}  // namespace

void Win32Platform::AnsiToOemBytes(const uint8_t* source, uint8_t* destination, std::size_t length)
{
    InSlices(source, destination, length, [](const char* s, char* d, DWORD n) { CharToOemBuffA(s, d, n); });
}

void Win32Platform::OemToAnsiBytes(const uint8_t* source, uint8_t* destination, std::size_t length)
{
    InSlices(source, destination, length, [](const char* s, char* d, DWORD n) { OemToCharBuffA(s, d, n); });
}
