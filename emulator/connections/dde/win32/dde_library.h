// A small class layer over DDEML that lets the program be a DDE server and a DDE client with one
// object model: an instance (CDDEServer) owns topics, topics own items, text items hold a string,
// conversations are reference counted, and every instance serves the standard "System" topic.
// At most one server instance and one client instance exist in a process; DDEML calls them back
// on the thread that created them, from its message loop.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>
#include <vector>

class CDDEServer;
class CDDETopic;

// A count of references; Release destroys the object when the count reaches 0.
class CDDECountedObject {
public:
    virtual ~CDDECountedObject() = default;
    int AddRef() { return ++references_; }
    int Release();

private:
    int references_ = 0;
};

// A DDEML string handle with the instance that created it.
class CHSZ {
public:
    CHSZ() = default;
    ~CHSZ();
    CHSZ(const CHSZ&) = delete;
    CHSZ& operator=(const CHSZ&) = delete;

    // Frees a handle already held, then creates one for the text (CP_WINANSI).
    void Create(DWORD instance, const char* text);
    // Frees the handle; on failure both fields are kept.
    void Free(DWORD instance);
    HSZ Handle() const { return handle_; }

private:
    HSZ handle_ = nullptr;
    DWORD instance_ = 0;
};

// The text of a string handle: "<null>" for an empty one, "<error>" when it cannot be read.
std::string StringFromHsz(DWORD instance, HSZ handle);
// The name of a clipboard format: the standard names of formats 1 to 12, else the registered name,
// else "".
std::string FormatName(UINT format);

class CDDEItem {
public:
    virtual ~CDDEItem() = default;

    void SetName(const char* name) { name_ = name ? name : ""; }
    const std::string& Name() const { return name_; }
    CDDETopic* Topic() const { return topic_; }
    void SetTopic(CDDETopic* topic) { topic_ = topic; }

    // Gives the item's data for a request: a pointer that stays valid until the next call and
    // its size. Returns FALSE when the item has none.
    virtual BOOL Request(UINT format, const void** data, DWORD* size) { return FALSE; }
    // Takes poked data of `size` bytes.
    virtual BOOL Poke(UINT format, const void* data, DWORD size) { return FALSE; }
    virtual BOOL IsSupportedFormat(UINT format);
    // The item's formats, ended by 0; null for none.
    virtual const WORD* GetFormatList() { return nullptr; }
    virtual BOOL CanAdvise(UINT format) { return IsSupportedFormat(format); }

private:
    std::string name_;
    CDDETopic* topic_ = nullptr;
};

// A text item: requests give its text with the terminating NUL, in any format.
class CDDEStringItem : public CDDEItem {
public:
    BOOL Request(UINT format, const void** data, DWORD* size) override;
    // The text becomes the poked data up to its first NUL or its size, whichever comes first;
    // then OnPoke runs.
    BOOL Poke(UINT format, const void* data, DWORD size) override;
    const WORD* GetFormatList() override;
    virtual void OnPoke() {}

    // Stores the text and posts an advise for the item when it belongs to a topic.
    void SetData(const char* text);
    const char* GetData() const { return text_.c_str(); }

private:
    std::string text_;
};

// The items of the System topic: their text is built afresh on every request.
class CDDESystemItem : public CDDEItem {
public:
    const WORD* GetFormatList() override;
};
// "Topics": the instance's topic names separated by TAB.
class CDDESystemItem_TopicList : public CDDESystemItem {
public:
    BOOL Request(UINT format, const void** data, DWORD* size) override;
};
// "SysItems", "TopicItemList": the item names of the owning topic separated by TAB.
class CDDESystemItem_ItemList : public CDDESystemItem {
public:
    BOOL Request(UINT format, const void** data, DWORD* size) override;
};
// "Formats": the distinct formats of the owning topic's items, by name, separated by TAB.
class CDDESystemItem_FormatList : public CDDESystemItem {
public:
    BOOL Request(UINT format, const void** data, DWORD* size) override;
};

class CDDETopic {
public:
    virtual ~CDDETopic() = default;

    void SetName(const char* name) { name_ = name ? name : ""; }
    const std::string& Name() const { return name_; }
    CDDEServer* Server() const { return server_; }
    void SetServer(CDDEServer* server) { server_ = server; }
    const std::vector<CDDEItem*>& Items() const { return items_; }

    // Appends an item not yet in the list (not owned) and makes this topic its owner.
    BOOL AddItem(CDDEItem* item);

    virtual BOOL Request(UINT format, const char* itemName, const void** data, DWORD* size);
    virtual BOOL Poke(UINT format, const char* itemName, const void* data, DWORD size);
    virtual BOOL Exec(const void* data, DWORD size) { return FALSE; }
    // The first item whose name equals `name` without regard to case.
    virtual CDDEItem* FindItem(const char* name);
    virtual BOOL CanAdvise(UINT format, const char* itemName);

private:
    std::string name_;
    CDDEServer* server_ = nullptr;
    std::vector<CDDEItem*> items_;
};

class CDDEServerSystemTopic : public CDDETopic {
public:
    BOOL Request(UINT format, const char* itemName, const void** data, DWORD* size) override;
};

// A conversation: opened by a partner (made by the instance's callback) or by the program itself
// (ConnectTo). Client transactions are synchronous with a time-out of 5000 ms.
class CDDEConv : public CDDECountedObject {
public:
    explicit CDDEConv(CDDEServer* server) : server_(server) {}
    CDDEConv(CDDEServer* server, HCONV conversation, HSZ topic)
        : server_(server), conversation_(conversation), topic_(topic) {}
    ~CDDEConv() override;

    virtual BOOL ConnectTo(const char* service, const char* topic);
    // Disconnects and leaves the instance's list; FALSE when no conversation was held.
    virtual BOOL Terminate();
    virtual BOOL OnAdviseData(UINT format, const char* topic, const char* item, const void* data,
                              DWORD size) { return FALSE; }
    // A CF_TEXT request; the data is a new buffer of `size` bytes that the caller frees with
    // delete[].
    virtual BOOL Request(const char* item, char** data, DWORD* size);
    virtual BOOL AdviseStart(const char* item);
    // Executes the command text with its terminating NUL.
    virtual BOOL Exec(const char* command);
    virtual BOOL Poke(UINT format, const char* item, const void* data, DWORD size);

    HCONV Handle() const { return conversation_; }
    // The partner has ended the conversation: the handle is no longer valid.
    void ForgetHandle() { conversation_ = nullptr; }

private:
    HDDEDATA Transact(const void* data, DWORD size, const char* item, UINT format, UINT type);

    CDDEServer* server_;
    HCONV conversation_ = nullptr;
    HSZ topic_ = nullptr;
};

class CDDEServer {
public:
    CDDEServer();
    virtual ~CDDEServer();
    CDDEServer(const CDDEServer&) = delete;
    CDDEServer& operator=(const CDDEServer&) = delete;

    // Initialises DDEML as the process's server (asServer) or client instance, registers the
    // service name and sets up the System topic. Returns OnCreate's result, or FALSE when an
    // instance of the same kind exists or DDEML refuses.
    BOOL Create(const char* serviceName, DWORD* instanceId = nullptr, BOOL asServer = TRUE);
    // Ends every conversation, unregisters the service and leaves DDEML; nothing when not
    // initialised.
    void Shutdown();

    virtual BOOL OnCreate() { return TRUE; }
    virtual UINT GetLastError() { return DdeGetLastError(m_dwDDEInstance); }
    // Every transaction that the dispatcher does not handle or whose handler fails; 0: not
    // processed.
    virtual HDDEDATA CustomCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) { return 0; }
    virtual BOOL Request(UINT format, const char* topic, const char* item, const void** data, DWORD* size);
    virtual BOOL Poke(UINT format, const char* topic, const char* item, const void* data, DWORD size);
    virtual BOOL AdviseData(UINT format, HCONV conversation, const char* topic, const char* item,
                            const void* data, DWORD size);
    virtual BOOL Exec(const char* topic, const void* data, DWORD size);
    // Diagnostic text; the base discards it.
    virtual void Status(const char* format, ...) {}
    virtual BOOL AddTopic(CDDETopic* topic);
    virtual BOOL CanAdvise(UINT format, const char* topic, const char* item);

    CDDETopic* FindTopic(const char* name);
    const std::vector<CDDETopic*>& Topics() const { return topics_; }
    const std::vector<CDDEConv*>& Conversations() const { return conversations_; }
    void PostAdvise(CDDETopic* topic, CDDEItem* item);
    void AddConversation(CDDEConv* conversation);
    // Leaves the list and drops the list's reference: by handle (a partner's disconnect: the
    // handle is dead and the conversation forgets it) or by object (Terminate, which has cleared
    // the handle by then). TRUE when found.
    BOOL RemoveConversation(HCONV conversation);
    BOOL RemoveConversation(CDDEConv* conversation);
    bool Initialised() const { return initialised_ != FALSE; }
    const std::string& ServiceName() const { return serviceName_; }

    HDDEDATA OnCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                        HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

    DWORD m_dwDDEInstance = 0;

private:
    // The transactions of the dispatch table; `handled` is false when the handler failed.
    HDDEDATA Transaction(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                         HDDEDATA data, bool& handled);
    HDDEDATA WildConnect(HSZ topic, HSZ service);

    std::vector<CDDETopic*> topics_;
    BOOL initialised_ = FALSE;
    std::string serviceName_;
    CHSZ serviceHandle_;
    std::vector<CDDEConv*> conversations_;
    CDDEServerSystemTopic systemTopic_;
    CDDESystemItem_TopicList topicsItem_;
    CDDESystemItem_ItemList sysItemsItem_;
    CDDESystemItem_ItemList topicItemListItem_;
    CDDESystemItem_FormatList formatsItem_;
    BOOL isServer_ = TRUE;
    bool registered_ = false;            // this object is the process's server or client instance
    std::vector<HSZ> wildTopicHandles_;  // topic handles handed out by wild connects
};

// The DDEML callbacks of the process's server and client instance.
HDDEDATA CALLBACK ServerDdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
HDDEDATA CALLBACK ClientDdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
