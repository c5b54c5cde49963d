// The platform's private-profile functions behind ProfileStore (Tolvi.exe and the Windows tests).
#pragma once

#include "shell/profile_store.h"

class Win32Profile final : public ProfileStore {
public:
    std::size_t GetString(const char* section, const char* key, const char* fallback, char* out,
                          std::size_t size, const char* file) override;
    unsigned GetInt(const char* section, const char* key, int fallback, const char* file) override;
    bool WriteString(const char* section, const char* key, const char* value,
                     const char* file) override;
    bool SectionHasKeys(const char* section, const char* file) override;
    std::vector<std::string> KeyNames(const char* section, const char* file) override;
    bool DeleteKey(const char* section, const char* key, const char* file) override;
    bool DeleteSection(const char* section, const char* file) override;
};
