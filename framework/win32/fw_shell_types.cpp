#include "fw_shell_types.h"

#include <windows.h>

namespace {

bool SetDefaultValue(const std::string& subKey, const std::string& value)
{
    HKEY key = nullptr;
    const std::string path = "Software\\Classes\\" + subKey;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace

bool FwRegisterShellFileType(const FwShellFileType& type, const std::string& programPath)
{
    const std::string id = type.typeId;
    bool ok = SetDefaultValue(type.extension, id);
    ok = SetDefaultValue(id, type.typeName) && ok;
    ok = SetDefaultValue(id + "\\DefaultIcon", programPath + ",0") && ok;
    ok = SetDefaultValue(id + "\\shell\\open\\command", "\"" + programPath + "\" \"%1\"") && ok;
    if (type.ddeApplication) {
        ok = SetDefaultValue(id + "\\shell\\open\\ddeexec", "[open(\"%1\")]") && ok;
        ok = SetDefaultValue(id + "\\shell\\open\\ddeexec\\Application", type.ddeApplication) && ok;
        ok = SetDefaultValue(id + "\\shell\\open\\ddeexec\\Topic", "System") && ok;
    }
    return ok;
}
