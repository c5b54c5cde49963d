// Any bytes as a session configuration file, read through the native profile store from memory
// (no file per input), then written back into memory.
#include <cstdint>
#include <memory>
#include <string>

#include "shell/config_file.h"
#include "session/document_strings.h"
#include "shell/native_profile.h"
#include "shell/profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static NativeProfile profile;
    static const bool installed = (SetProfiles(&profile), true);
    (void)installed;
    static const char kFile[] = "fuzz-input.wcf";

    const std::string text(reinterpret_cast<const char*>(data), size);
    profile.ServeFromMemory(kFile, text);
    auto rec = std::make_unique<SettingsRecord>();
    DocumentStrings strings;
    SerializeConfigFile(kFile, false, *rec, strings);
    SerializeConfigFile(kFile, true, *rec, strings);

    // The parsed form writes back and parses to the same form.
    const std::string once = NativeProfile::Format(NativeProfile::Parse(text));
    if (NativeProfile::Format(NativeProfile::Parse(once)) != once) __builtin_trap();
    return 0;
}
