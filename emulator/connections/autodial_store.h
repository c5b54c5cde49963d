// The system's automatic-dial setting, which a Telnet connect can switch off for its duration by
// renaming the dial function's value to "No_" + value. The Win32 side installs the registry store.
#pragma once

#include <cstddef>

class AutodialStore {
public:
    virtual ~AutodialStore() = default;
    // Opens the setting for query and set; false when it cannot be opened.
    virtual bool Open() = 0;
    // Reads the value (NUL-terminated, at most size - 1 characters); false on failure.
    virtual bool Read(char* value, std::size_t size) = 0;
    virtual bool Write(const char* value) = 0;
    virtual void Close() = 0;
};

// Installs the store (not owned); without one the autodial setting is left alone.
void SetAutodialStore(AutodialStore* store);
AutodialStore* InstalledAutodialStore();

// Switches the automatic dial off while it lives (when the store has a value not yet starting
// with "No_") and puts the old value back at the end. Failures are silent.
class AutodialSuppressor {
public:
    explicit AutodialSuppressor(AutodialStore* store);
    ~AutodialSuppressor();
    AutodialSuppressor(const AutodialSuppressor&) = delete;
    AutodialSuppressor& operator=(const AutodialSuppressor&) = delete;

    static constexpr std::size_t kValueSize = 1024;

private:
    AutodialStore* store_;
    bool opened_ = false;
    bool changed_ = false;
    char old_[kValueSize] = {};
};
