#include "shell/document_services.h"

#include "engine/vt/vt_hooks.h"
#include "shell/session_document.h"

int DefineTerminalKey(const std::string& name, const std::string& text)
{
    CZolexDoc* doc = GetSessionDoc();
    return doc ? doc->DefineTerminalKey(name, text) : 0;
}

int SetCharsetMode(int mode)
{
    CZolexDoc* doc = GetSessionDoc();
    if (!doc) return 0;
    if (mode != doc->record->Charset) {
        doc->record->Charset = mode;
        doc->LoadTranslateTables(doc->tables->Outgoing, doc->tables->Incoming, true);
    }
    return 1;
}

namespace {

int DefineKeyFromHost(const char* name, const char* text) { return DefineTerminalKey(name ? name : "", text ? text : ""); }
int CharsetModeFromHost(SettingsRecord&, int mode) { return SetCharsetMode(mode); }

}  // namespace

void InstallSessionServiceHooks()
{
    VtHooks.defineTerminalKey = DefineKeyFromHost;
    VtHooks.setCharsetMode = CharsetModeFromHost;
}
