// The file checks of the transfer dialog on the Windows file system.
#pragma once

#include "dialogs/start_transfer_checks.h"

class Win32FileProbe : public TransferFileProbe {
public:
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool Writable(const std::string& path) override;
    bool Readable(const std::string& path) override;
};
