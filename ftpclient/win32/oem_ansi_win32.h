// OEM/ANSI conversion of transferred bytes through the Windows code pages. The client uses the
// system's ANSI and OEM pages; tests name the pages explicitly.
#pragma once

#include "char_translation.h"

class Win32OemAnsiConverter : public OemAnsiConverter {
public:
    // 0 for either page means the system's (CP_ACP, CP_OEMCP).
    Win32OemAnsiConverter(unsigned ansiPage = 0, unsigned oemPage = 0);
    void ToOem(std::uint8_t* bytes, std::size_t count) override;
    void ToAnsi(std::uint8_t* bytes, std::size_t count) override;

private:
    std::uint8_t ansiToOem_[256];
    std::uint8_t oemToAnsi_[256];
};
