// Any bytes as a .key file, a .map file and the value texts of the configuration file.
#include <cstdint>
#include <string>

#include "shell/config_values.h"
#include "shell/key_data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    KeyDefTable definitions;
    ReadKeyDefText(text, definitions);
    for (const auto& item : definitions) {
        // A stored definition reads back as itself.
        KeyDefTable again;
        ReadKeyDefText(KeyDefLine(*item.second), again);
        const KeyDefEntry* back = again.Lookup(item.first);
        if (!back || back->GetDefinition() != item.second->GetDefinition()) __builtin_trap();
    }

    KeyMap map;
    ReadKeyMapText(text, map);
    for (const auto& item : map) {
        if (item.first != item.second->Code()) __builtin_trap();
        (void)KeyMapLine(*item.second);
    }

    const std::string value = text.substr(0, 300);
    (void)ParseProfileChar(value.c_str());
    (void)ParseProfileLong(value.c_str());
    (void)ParseProfileBool(value.c_str());
    (void)UnscrambleProfileText(text, 128);
    return 0;
}
