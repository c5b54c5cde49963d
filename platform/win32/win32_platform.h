// The HostPlatform of the Windows programs: real system metrics, win.ini and message boxes.
#pragma once

#include "host_platform.h"

class Win32Platform final : public HostPlatform {
public:
    int ScreenWidth() override;
    int WindowsCountry() override;
    void ShowMessage(int stringId, const char* text) override;
};
