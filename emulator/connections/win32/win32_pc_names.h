// The PC user's and computer's names from the system (GetUserNameA, GetComputerNameA).
#pragma once

#include "connections/automation_view.h"

class Win32PcNames : public PcNames {
public:
    bool UserName(char* name, std::size_t size) override;
    bool ComputerName(char* name, std::size_t size) override;
};
