// Any bytes as a session configuration file, read through the native profile store from memory
// (no file per input). One input in eight (by its length) is also written back into memory:
// writing every key costs as much as reading them all, and its code is the same for every input.
#include <cstdint>
#include <memory>
#include <string>

#include "shell/config_file.h"
#include "session/document_strings.h"
#include "shell/native_profile.h"
#include "shell/profile_store.h"

// A smaller quarantine than the sanitizer's 256 MB: every input frees a few thousand small blocks,
// and with the whole quarantine each new block would lie on memory not touched for long (page
// faults and cache misses were most of an input's time). Freed memory still waits before reuse.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A store of this input alone: what it allocates goes with it (the fuzzer looks for leaks
    // after every input that leaves memory behind, and that costs more than the input).
    NativeProfile profile;
    SetProfiles(&profile);
    static const char kFile[] = "fuzz-input.wcf";

    const std::string text(reinterpret_cast<const char*>(data), size);
    profile.ServeFromMemory(kFile, text);
    auto rec = std::make_unique<SettingsRecord>();
    DocumentStrings strings;
    SerializeConfigFile(kFile, false, *rec, strings);
    if (size % 8 == 0) {
        SerializeConfigFile(kFile, true, *rec, strings);
        // What was written is read again.
        auto again = std::make_unique<SettingsRecord>();
        DocumentStrings againStrings;
        profile.ServeFromMemory(kFile, profile.MemoryText());
        SerializeConfigFile(kFile, false, *again, againStrings);
    }

    // The parsed form writes back and parses to the same form.
    const std::string once = NativeProfile::Format(NativeProfile::Parse(text));
    if (NativeProfile::Format(NativeProfile::Parse(once)) != once) __builtin_trap();
    SetProfiles(nullptr);
    return 0;
}
