#include "connections/win32/autodial_registry.h"

#include <windows.h>

#include <cstring>

namespace {
const char kKey[] = "System\\CurrentControlSet\\Services\\Winsock\\Autodial";
const char kValue[] = "AutodialFcnName32";
}  // namespace

bool AutodialRegistry::Open() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

bool AutodialRegistry::Read(char* value, std::size_t size) {
    if (!key_ || size == 0) return false;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size - 1);
    if (RegQueryValueExA(static_cast<HKEY>(key_), kValue, nullptr, &type,
                         reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value[bytes < size ? bytes : size - 1] = '\0';
    return true;
}

bool AutodialRegistry::Write(const char* value) {
    if (!key_) return false;
    return RegSetValueExA(static_cast<HKEY>(key_), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}

void AutodialRegistry::Close() {
    if (key_) RegCloseKey(static_cast<HKEY>(key_));
    key_ = nullptr;
}
