// The HostPlatform of the Windows programs: real system metrics, win.ini, message boxes and the
// system's code-page conversions.
#pragma once

#include "host_platform.h"

class Win32Platform final : public HostPlatform {
public:
    int ScreenWidth() override;
    int WindowsCountry() override;
    void ShowMessage(int stringId, const char* text) override;
    // CharToOemBuffA / OemToCharBuffA: the code pages of the running system.
    void AnsiToOemBytes(const uint8_t* source, uint8_t* destination, std::size_t length) override;
    void OemToAnsiBytes(const uint8_t* source, uint8_t* destination, std::size_t length) override;
};
