#include "connections/dde/win32/terminal_dde_server.h"

#include <cstdarg>
#include <cstdio>
#include <new>

#include "connections/dde/dde_commands.h"
#include "session/session_record.h"

namespace {

TerminalDdeServer* server = nullptr;

// Hands the text of a "gettxt" to the "txtret" item, which posts an advise for it.
class TxtRetSink : public DdeTextSink {
public:
    void SetText(const char* text) override {
        if (server) server->TxtRet().SetData(text);
    }
};

void RunOnSession(DdeCommand command, const std::string& text) {
    TxtRetSink sink;
    RunDdeCommand(command, text, server ? &sink : nullptr);
}

}  // namespace

void DdeCommandItem::OnPoke() {
    RunOnSession(CommandOfItem(Name().c_str()), GetData());
}

BOOL DdeCommandTopic::Exec(const void* data, DWORD size) {
    DdeExecuteCommand command = ParseDdeExecute(static_cast<const uint8_t*>(data), size);
    RunOnSession(command.command, command.text);
    // Every execute is acknowledged, understood or not.
    return TRUE;
}

BOOL TerminalDdeServer::OnCreate() {
    topic_.SetName(Rec->DdeServerTopicName);
    AddTopic(&topic_);
    toHost_.SetName("tohost");
    toHostX_.SetName("tohostx");
    getTxt_.SetName("gettxt");
    txtRet_.SetName("txtret");
    topic_.AddItem(&toHost_);
    topic_.AddItem(&toHostX_);
    topic_.AddItem(&getTxt_);
    topic_.AddItem(&txtRet_);
    return TRUE;
}

void TerminalDdeServer::Status(const char* format, ...) {
    // Diagnostics are formatted and dropped.
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
}

int DdeServerStart() {
    if (!Rec->DdeServerEnable || server) return 0;
    server = new (std::nothrow) TerminalDdeServer;
    if (!server) return 0;
    return server->Create(Rec->DdeServerServiceName, nullptr, TRUE) ? 1 : 0;
}

void ShutdownDdeServer() {
    if (!server) return;
    server->Shutdown();
    delete server;
    server = nullptr;
}

TerminalDdeServer* SessionDdeServer() { return server; }
