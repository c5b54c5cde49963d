// Conversations: connect, disconnect and the synchronous client transactions.
#include <cstring>
#include <new>

#include "connections/dde/win32/dde_library.h"

namespace {

constexpr DWORD kTransactionTimeout = 5000;

}  // namespace

CDDEConv::~CDDEConv() { Terminate(); }

BOOL CDDEConv::ConnectTo(const char* service, const char* topic) {
    CHSZ serviceHandle, topicHandle;
    serviceHandle.Create(server_->m_dwDDEInstance, service);
    topicHandle.Create(server_->m_dwDDEInstance, topic);
    conversation_ = DdeConnect(server_->m_dwDDEInstance, serviceHandle.Handle(), topicHandle.Handle(), nullptr);
    if (!conversation_) {
        server_->Status("Failed to connect to %s|%s. Error %u\n", service, topic,
                        DdeGetLastError(server_->m_dwDDEInstance));
        return FALSE;
    }
    server_->AddConversation(this);
    return TRUE;
}

BOOL CDDEConv::Terminate() {
    if (!conversation_) return FALSE;
    HCONV conversation = conversation_;
    // Cleared first: leaving the list may destroy this object. The list entry is found by the
    // object, since the handle is gone by then.
    conversation_ = nullptr;
    DdeDisconnect(conversation);
    server_->RemoveConversation(this);
    return TRUE;
}

HDDEDATA CDDEConv::Transact(const void* data, DWORD size, const char* item, UINT format, UINT type) {
    if (!conversation_) return nullptr;
    CHSZ itemHandle;
    if (item) itemHandle.Create(server_->m_dwDDEInstance, item);
    DWORD result = 0;
    return DdeClientTransaction(static_cast<LPBYTE>(const_cast<void*>(data)), size, conversation_,
                                itemHandle.Handle(), format, type, kTransactionTimeout, &result);
}

BOOL CDDEConv::Request(const char* item, char** data, DWORD* size) {
    *data = nullptr;
    *size = 0;
    HDDEDATA reply = Transact(nullptr, 0, item, CF_TEXT, XTYP_REQUEST);
    if (!reply) return FALSE;
    DWORD length = DdeGetData(reply, nullptr, 0, 0);
    char* copy = new (std::nothrow) char[length ? length : 1];
    if (!copy) {
        DdeFreeDataHandle(reply);
        return FALSE;
    }
    DdeGetData(reply, reinterpret_cast<LPBYTE>(copy), length, 0);
    DdeFreeDataHandle(reply);
    *data = copy;
    *size = length;
    return TRUE;
}

BOOL CDDEConv::AdviseStart(const char* item) {
    return Transact(nullptr, 0, item, CF_TEXT, XTYP_ADVSTART) != nullptr;
}

BOOL CDDEConv::Exec(const char* command) {
    return Transact(command, static_cast<DWORD>(std::strlen(command) + 1), nullptr, CF_TEXT, XTYP_EXECUTE) != nullptr;
}

BOOL CDDEConv::Poke(UINT format, const char* item, const void* data, DWORD size) {
    return Transact(data, size, item, format, XTYP_POKE) != nullptr;
}
