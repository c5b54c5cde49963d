#include "oem_ansi_win32.h"

#include <windows.h>

namespace {

// Table of one single-byte page to another: each byte through UTF-16, best fit where the target
// page has no exact character.
void BuildTable(unsigned from, unsigned to, std::uint8_t* table)
{
    for (int i = 0; i < 256; ++i) {
        const char in = static_cast<char>(i);
        wchar_t wide = 0;
        char out = static_cast<char>(i);
        if (MultiByteToWideChar(from, 0, &in, 1, &wide, 1) == 1)
            WideCharToMultiByte(to, 0, &wide, 1, &out, 1, nullptr, nullptr);
        table[i] = static_cast<std::uint8_t>(out);
    }
}

}  // namespace

Win32OemAnsiConverter::Win32OemAnsiConverter(unsigned ansiPage, unsigned oemPage)
{
    const unsigned ansi = ansiPage != 0 ? ansiPage : CP_ACP;
    const unsigned oem = oemPage != 0 ? oemPage : CP_OEMCP;
    BuildTable(ansi, oem, ansiToOem_);
    BuildTable(oem, ansi, oemToAnsi_);
}

void Win32OemAnsiConverter::ToOem(std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = ansiToOem_[bytes[i]];
}

void Win32OemAnsiConverter::ToAnsi(std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = oemToAnsi_[bytes[i]];
}
