// The system's automatic-dial setting in the registry, as the Telnet connect's AutodialStore.
#pragma once

#include "connections/autodial_store.h"

class AutodialRegistry final : public AutodialStore {
public:
    bool Open() override;
    bool Read(char* value, std::size_t size) override;
    bool Write(const char* value) override;
    void Close() override;

private:
    void* key_ = nullptr;  // HKEY
};
