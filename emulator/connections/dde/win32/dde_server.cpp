// The DDEML instance: creation with the System topic, topics, conversations, advise posting, the
// callback dispatch and shutdown.
#include <new>

#include "connections/dde/win32/dde_library.h"

namespace {

CDDEServer* serverInstance = nullptr;
CDDEServer* clientInstance = nullptr;

// The data of a transaction, accessed for the length of a handler.
class AccessedData {
public:
    explicit AccessedData(HDDEDATA data) : handle_(data) {
        if (handle_) bytes_ = DdeAccessData(handle_, &size_);
        if (!bytes_) size_ = 0;
    }
    ~AccessedData() {
        if (bytes_) DdeUnaccessData(handle_);
    }
    const void* Bytes() const { return bytes_; }
    DWORD Size() const { return size_; }

private:
    HDDEDATA handle_;
    LPBYTE bytes_ = nullptr;
    DWORD size_ = 0;
};

}  // namespace

HDDEDATA CALLBACK ServerDdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
    if (!serverInstance) return nullptr;
    return serverInstance->OnCallback(type, format, conversation, hsz1, hsz2, data, data1, data2);
}

HDDEDATA CALLBACK ClientDdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
    if (!clientInstance) return nullptr;
    return clientInstance->OnCallback(type, format, conversation, hsz1, hsz2, data, data1, data2);
}

CDDEServer::CDDEServer() = default;

CDDEServer::~CDDEServer() {
    Shutdown();
    if (registered_) (isServer_ ? serverInstance : clientInstance) = nullptr;
}

BOOL CDDEServer::Create(const char* serviceName, DWORD* instanceId, BOOL asServer) {
    isServer_ = asServer;
    CDDEServer*& slot = asServer ? serverInstance : clientInstance;
    if (slot) return FALSE;
    slot = this;
    registered_ = true;

    DWORD instance = 0;
    PFNCALLBACK callback = asServer ? ServerDdeCallback : ClientDdeCallback;
    if (DdeInitializeA(&instance, callback, 0, 0) != DMLERR_NO_ERROR) return FALSE;
    m_dwDDEInstance = instance;
    if (instanceId) *instanceId = instance;
    serviceName_ = serviceName ? serviceName : "";
    serviceHandle_.Create(instance, serviceName_.c_str());

    systemTopic_.SetName("System");
    AddTopic(&systemTopic_);
    topicsItem_.SetName("Topics");
    sysItemsItem_.SetName("SysItems");
    topicItemListItem_.SetName("TopicItemList");
    formatsItem_.SetName("Formats");
    systemTopic_.AddItem(&topicsItem_);
    systemTopic_.AddItem(&sysItemsItem_);
    systemTopic_.AddItem(&topicItemListItem_);
    systemTopic_.AddItem(&formatsItem_);

    DdeNameService(instance, serviceHandle_.Handle(), nullptr, DNS_REGISTER);
    initialised_ = TRUE;
    return OnCreate();
}

void CDDEServer::Shutdown() {
    if (!initialised_) return;
    while (!conversations_.empty()) {
        CDDEConv* conversation = conversations_.front();
        // Terminate leaves the list; one whose partner already left is taken out here.
        if (!conversation->Terminate()) RemoveConversation(conversation);
    }
    DdeNameService(m_dwDDEInstance, serviceHandle_.Handle(), nullptr, DNS_UNREGISTER);
    serviceHandle_.Free(m_dwDDEInstance);
    for (HSZ handle : wildTopicHandles_) DdeFreeStringHandle(m_dwDDEInstance, handle);
    wildTopicHandles_.clear();
    DdeUninitialize(m_dwDDEInstance);
    initialised_ = FALSE;
}

BOOL CDDEServer::AddTopic(CDDETopic* topic) {
    for (CDDETopic* held : topics_)
        if (held == topic) return TRUE;
    topics_.push_back(topic);
    topic->SetServer(this);
    topic->AddItem(&topicItemListItem_);
    topic->AddItem(&formatsItem_);
    return TRUE;
}

CDDETopic* CDDEServer::FindTopic(const char* name) {
    for (CDDETopic* topic : topics_)
        if (lstrcmpiA(topic->Name().c_str(), name) == 0) return topic;
    return nullptr;
}

BOOL CDDEServer::Request(UINT format, const char* topic, const char* item, const void** data, DWORD* size) {
    CDDETopic* t = FindTopic(topic);
    return t ? t->Request(format, item, data, size) : FALSE;
}

BOOL CDDEServer::Poke(UINT format, const char* topic, const char* item, const void* data, DWORD size) {
    CDDETopic* t = FindTopic(topic);
    return t ? t->Poke(format, item, data, size) : FALSE;
}

BOOL CDDEServer::Exec(const char* topic, const void* data, DWORD size) {
    CDDETopic* t = FindTopic(topic);
    return t ? t->Exec(data, size) : FALSE;
}

BOOL CDDEServer::CanAdvise(UINT format, const char* topic, const char* item) {
    CDDETopic* t = FindTopic(topic);
    return t ? t->CanAdvise(format, item) : FALSE;
}

BOOL CDDEServer::AdviseData(UINT format, HCONV conversation, const char* topic, const char* item,
                            const void* data, DWORD size) {
    for (CDDEConv* c : conversations_)
        if (c->Handle() == conversation) return c->OnAdviseData(format, topic, item, data, size);
    return FALSE;
}

void CDDEServer::PostAdvise(CDDETopic* topic, CDDEItem* item) {
    if (!initialised_) return;
    CHSZ topicHandle, itemHandle;
    topicHandle.Create(m_dwDDEInstance, topic->Name().c_str());
    itemHandle.Create(m_dwDDEInstance, item->Name().c_str());
    DdePostAdvise(m_dwDDEInstance, topicHandle.Handle(), itemHandle.Handle());
}

void CDDEServer::AddConversation(CDDEConv* conversation) {
    conversation->AddRef();
    conversations_.push_back(conversation);
}

BOOL CDDEServer::RemoveConversation(HCONV conversation) {
    for (CDDEConv* held : conversations_) {
        if (held->Handle() != conversation) continue;
        held->ForgetHandle();
        return RemoveConversation(held);
    }
    return FALSE;
}

BOOL CDDEServer::RemoveConversation(CDDEConv* conversation) {
    for (auto it = conversations_.begin(); it != conversations_.end(); ++it) {
        if (*it != conversation) continue;
        conversations_.erase(it);
        conversation->Release();
        return TRUE;
    }
    return FALSE;
}

HDDEDATA CDDEServer::WildConnect(HSZ topic, HSZ service) {
    if (service && DdeCmpStringHandles(service, serviceHandle_.Handle()) != 0) return nullptr;
    std::string topicText = topic ? StringFromHsz(m_dwDDEInstance, topic) : "<null>";
    Status("Wild connect to %s\n", topicText.c_str());
    std::vector<HSZPAIR> pairs;
    if (topic) {
        if (FindTopic(topicText.c_str())) pairs.push_back({serviceHandle_.Handle(), topic});
    } else {
        for (CDDETopic* t : topics_) {
            HSZ handle = DdeCreateStringHandleA(m_dwDDEInstance, t->Name().c_str(), CP_WINANSI);
            if (!handle) continue;
            wildTopicHandles_.push_back(handle);
            pairs.push_back({serviceHandle_.Handle(), handle});
        }
    }
    if (pairs.empty()) {
        Status("Wild connect to %s refused\n", topicText.c_str());
        return nullptr;
    }
    pairs.push_back({nullptr, nullptr});
    return DdeCreateDataHandle(m_dwDDEInstance, reinterpret_cast<LPBYTE>(pairs.data()),
                               static_cast<DWORD>(pairs.size() * sizeof(HSZPAIR)), 0, nullptr,
                               CF_TEXT, 0);
}

HDDEDATA CDDEServer::Transaction(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                 HDDEDATA data, bool& handled) {
    std::string topic = StringFromHsz(m_dwDDEInstance, hsz1);
    std::string item = hsz2 ? StringFromHsz(m_dwDDEInstance, hsz2) : std::string("<null>");
    handled = false;
    switch (type) {
    case XTYP_EXECUTE: {
        Status("Exec\n");
        AccessedData in(data);
        if (!Exec(topic.c_str(), in.Bytes(), in.Size())) {
            Status("Exec failed\n");
            return nullptr;
        }
        handled = true;
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }
    case XTYP_CONNECT:
        if (!FindTopic(topic.c_str())) return nullptr;
        handled = true;
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(TRUE));
    case XTYP_REQUEST:
    case XTYP_ADVREQ: {
        Status("Request %s|%s\n", topic.c_str(), item.c_str());
        const void* bytes = nullptr;
        DWORD size = 0;
        if (!Request(format, topic.c_str(), item.c_str(), &bytes, &size)) {
            Status("Request %s|%s failed\n", topic.c_str(), item.c_str());
            return nullptr;
        }
        handled = true;
        return DdeCreateDataHandle(m_dwDDEInstance, static_cast<LPBYTE>(const_cast<void*>(bytes)),
                                   size, 0, hsz2, format, 0);
    }
    case XTYP_ADVSTART:
        if (!CanAdvise(format, topic.c_str(), item.c_str())) {
            Status("Can't advise on %s|%s\n", topic.c_str(), item.c_str());
            return nullptr;
        }
        handled = true;
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(TRUE));
    case XTYP_ADVDATA: {
        AccessedData in(data);
        handled = true;
        if (AdviseData(format, conversation, topic.c_str(), item.c_str(), in.Bytes(), in.Size()))
            return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
        Status("AdviseData %s|%s failed\n", topic.c_str(), item.c_str());
        return nullptr;
    }
    case XTYP_POKE: {
        AccessedData in(data);
        if (!Poke(format, topic.c_str(), item.c_str(), in.Bytes(), in.Size())) {
            Status("Poke %s|%s failed\n", topic.c_str(), item.c_str());
            return nullptr;
        }
        // A poke from a conversation of this instance itself posts no advise.
        CONVINFO info = {};
        info.cb = sizeof(info);
        bool self = DdeQueryConvInfo(conversation, QID_SYNC, &info) && (info.wStatus & ST_ISSELF);
        if (!self) DdePostAdvise(m_dwDDEInstance, hsz1, hsz2);
        handled = true;
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }
    default:
        return nullptr;
    }
}

HDDEDATA CDDEServer::OnCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
    Status("Callback %4.4XH\n", type);
    switch (type) {
    case XTYP_CONNECT_CONFIRM: {
        std::string topic = StringFromHsz(m_dwDDEInstance, hsz1);
        Status("Connect to %s\n", topic.c_str());
        CDDEConv* partner = new (std::nothrow) CDDEConv(this, conversation, hsz1);
        if (partner) AddConversation(partner);
        return nullptr;
    }
    case XTYP_DISCONNECT:
        Status("Disconnect\n");
        RemoveConversation(conversation);
        Status("RemoveConversation()\n");
        return nullptr;
    case XTYP_WILDCONNECT:
        return WildConnect(hsz1, hsz2);
    case XTYP_CONNECT:
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
    case XTYP_ADVSTART:
    case XTYP_ADVDATA:
    case XTYP_EXECUTE:
    case XTYP_POKE: {
        bool handled = false;
        HDDEDATA result = Transaction(type, format, conversation, hsz1, hsz2, data, handled);
        if (handled) return result;
        break;
    }
    default:
        break;
    }
    return CustomCallback(type, format, conversation, hsz1, hsz2, data, data1, data2);
}
