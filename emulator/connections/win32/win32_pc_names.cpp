#include "connections/win32/win32_pc_names.h"

#include <windows.h>

namespace {

// Calls the system's name function with a buffer of the caller's size; empty names count as
// failures, so the callers' fallbacks apply.
template <typename Call>
bool AskSystem(Call call, char* name, std::size_t size) {
    if (!name || size == 0) return false;
    DWORD length = static_cast<DWORD>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
    if (!call(name, &length)) {
        name[0] = '\0';
        return false;
    }
    name[size - 1] = '\0';
    return name[0] != '\0';
}

}  // namespace

bool Win32PcNames::UserName(char* name, std::size_t size) {
    return AskSystem([](char* n, DWORD* l) { return GetUserNameA(n, l) != 0; }, name, size);
}

bool Win32PcNames::ComputerName(char* name, std::size_t size) {
    return AskSystem([](char* n, DWORD* l) { return GetComputerNameA(n, l) != 0; }, name, size);
}
