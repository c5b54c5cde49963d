#include "shell/win32/win32_profile.h"

#include <windows.h>

std::size_t Win32Profile::GetString(const char* section, const char* key, const char* fallback,
                                    char* out, std::size_t size, const char* file)
{
    if (!out || size == 0) return 0;
    const DWORD capped = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section, key, fallback ? fallback : "", out, capped, file);
}

unsigned Win32Profile::GetInt(const char* section, const char* key, int fallback, const char* file)
{
    return GetPrivateProfileIntA(section, key, fallback, file);
}

bool Win32Profile::WriteString(const char* section, const char* key, const char* value,
                               const char* file)
{
    return WritePrivateProfileStringA(section, key, value ? value : "", file) != FALSE;
}

bool Win32Profile::SectionHasKeys(const char* section, const char* file)
{
    char lines[64];
    return GetPrivateProfileSectionA(section, lines, sizeof lines, file) > 0;
}
