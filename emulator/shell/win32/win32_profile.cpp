#include "shell/win32/win32_profile.h"

#include <windows.h>

#include <cstring>

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

std::vector<std::string> Win32Profile::KeyNames(const char* section, const char* file)
{
    std::vector<std::string> names;
    std::vector<char> text(4096);
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(section, nullptr, "", text.data(), static_cast<DWORD>(text.size()), file);
        if (n + 2 < text.size() || text.size() >= (1u << 24)) {
            for (DWORD i = 0; i < n && text[i];) {
                names.emplace_back(&text[i]);
                i += static_cast<DWORD>(names.back().size()) + 1;
            }
            return names;
        }
        text.resize(text.size() * 4);
    }
}

bool Win32Profile::DeleteKey(const char* section, const char* key, const char* file)
{
    if (!key) return false;
    return WritePrivateProfileStringA(section, key, nullptr, file) != FALSE;
}

bool Win32Profile::DeleteSection(const char* section, const char* file)
{
    return WritePrivateProfileStringA(section, nullptr, nullptr, file) != FALSE;
}
