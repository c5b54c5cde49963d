// Any bytes as a session configuration file, read through the native profile store.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "shell/config_file.h"
#include "session/document_strings.h"
#include "shell/native_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = "/tmp/tolvi-fuzz-" + std::to_string(getpid()) + ".wcf";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    auto rec = std::make_unique<SettingsRecord>();
    DocumentStrings strings;
    SerializeConfigFile(file.c_str(), false, *rec, strings);

    // The parsed form writes back and parses to the same form.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once = NativeProfile::Format(NativeProfile::Parse(text));
    if (NativeProfile::Format(NativeProfile::Parse(once)) != once) __builtin_trap();
    return 0;
}
