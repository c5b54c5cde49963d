// Reference counts, string handles and the names of handles and clipboard formats.
#include "connections/dde/win32/dde_library.h"

int CDDECountedObject::Release() {
    int count = --references_;
    if (count == 0) delete this;
    return count;
}

CHSZ::~CHSZ() {
    if (handle_) DdeFreeStringHandle(instance_, handle_);
}

void CHSZ::Create(DWORD instance, const char* text) {
    if (handle_) Free(instance_);
    handle_ = DdeCreateStringHandleA(instance, text ? text : "", CP_WINANSI);
    instance_ = instance;
}

void CHSZ::Free(DWORD instance) {
    if (!handle_) return;
    if (!DdeFreeStringHandle(instance, handle_)) return;
    handle_ = nullptr;
    instance_ = 0;
}

std::string StringFromHsz(DWORD instance, HSZ handle) {
    DWORD length = DdeQueryStringA(instance, handle, nullptr, 0, CP_WINANSI);
    if (length == 0) return "<null>";
    std::string text(length + 1, '\0');
    DWORD got = DdeQueryStringA(instance, handle, &text[0], length + 1, CP_WINANSI);
    if (got == 0) return "<error>";
    text.resize(got);
    return text;
}

std::string FormatName(UINT format) {
    static const char* const standard[] = {"TEXT", "BITMAP", "METAFILEPICT", "SYLK", "DIF", "TIFF",
                                           "OEMTEXT", "DIB", "PALETTE", "PENDATA", "RIFF", "WAVE"};
    if (format >= 1 && format <= 12) return standard[format - 1];
    char name[256];
    int n = GetClipboardFormatNameA(format, name, sizeof(name));
    return n > 0 ? std::string(name, static_cast<std::size_t>(n)) : std::string();
}
