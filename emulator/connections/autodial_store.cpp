#include "connections/autodial_store.h"

#include <cstring>

namespace {
AutodialStore* installedStore = nullptr;
}

void SetAutodialStore(AutodialStore* store) { installedStore = store; }
AutodialStore* InstalledAutodialStore() { return installedStore; }

AutodialSuppressor::AutodialSuppressor(AutodialStore* store) : store_(store) {
    if (!store_ || !store_->Open()) return;
    opened_ = true;
    // Only a value that was read is renamed; the new name has room for the prefix.
    if (!store_->Read(old_, sizeof(old_))) return;
    old_[sizeof(old_) - 1] = '\0';
    if (std::strncmp(old_, "No_", 3) == 0) return;
    char renamed[kValueSize + 3];
    std::memcpy(renamed, "No_", 3);
    std::strcpy(renamed + 3, old_);
    changed_ = store_->Write(renamed);
}

AutodialSuppressor::~AutodialSuppressor() {
    if (changed_) store_->Write(old_);
    if (opened_) store_->Close();
}
