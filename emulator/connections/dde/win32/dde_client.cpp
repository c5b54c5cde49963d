#include "connections/dde/win32/dde_client.h"

#include <cstdarg>
#include <cstdio>
#include <new>

#include "host_platform.h"
#include "session/session_record.h"

namespace {

CMyClient* client = nullptr;

// Lets the thread's queue empty between the transactions of one poke: DDEML's partner windows
// answer through posted messages.
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

void CMyClient::Status(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
}

int DdeClientPokePort::Poke(const char* service, const char* topic, const char* item,
                            const char* data, int size) {
    if (!client) {
        client = new (std::nothrow) CMyClient;
        if (client && !client->Create(Rec->DdeClientServiceName, nullptr, FALSE)) {
            delete client;
            client = nullptr;
        }
    }
    if (!client) return 0;

    int result = 0;
    CMyConv* conversation = new (std::nothrow) CMyConv(client);
    if (!conversation) return 0;
    conversation->AddRef();
    if (conversation->ConnectTo(service, topic)) {
        PumpMessages();
        result = conversation->Poke(CF_TEXT, item, data, static_cast<DWORD>(size > 0 ? size : 0)) ? 1 : 0;
        PumpMessages();
        conversation->Terminate();
    }
    if (conversation->Release() != 0) Platform().ShowMessage(0, "DdeConversation Drop Error\n");
    return result;
}

void DdeClientInstanceStop() {
    if (!client) return;
    client->Shutdown();
    delete client;
    client = nullptr;
}
