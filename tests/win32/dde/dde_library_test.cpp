// The DDE class library on the real DDEML: a server instance and a client instance of this
// process talk through their conversations (requests, pokes, advise loops, the System topic),
// and the instance rules (one of each kind, shutdown) hold.
#include <windows.h>
#include <ddeml.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connections/dde/win32/dde_library.h"

namespace {

constexpr char kService[] = "TOLVILIBTEST";

// Lets DDEML's posted messages through, as a message loop would.
void Pump(int milliseconds = 20) {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

class PokedItem : public CDDEStringItem {
public:
    void OnPoke() override { ++pokes; }
    int pokes = 0;
};

class CountingConv : public CDDEConv {
public:
    explicit CountingConv(CDDEServer* server) : CDDEConv(server) {}
    BOOL OnAdviseData(UINT, const char*, const char* item, const void* data, DWORD size) override {
        advised.emplace_back(static_cast<const char*>(data), size ? size - 1 : 0);
        return TRUE;
    }
    std::vector<std::string> advised;
};

std::string Take(char* data, DWORD size) {
    std::string text(data, size ? size - 1 : 0);
    delete[] data;
    return text;
}

class DdeLibrary : public testing::Test {
protected:
    void SetUp() override {
        topic.SetName("Data");
        item.SetName("Value");
        item.SetData("first");
        ASSERT_TRUE(server.Create(kService, nullptr, TRUE));
        server.AddTopic(&topic);
        topic.AddItem(&item);
        ASSERT_TRUE(client.Create("TOLVILIBCLIENT", nullptr, FALSE));
        conv = new CountingConv(&client);
        conv->AddRef();
        // The first connect may need the service to settle.
        for (int i = 0; i < 20 && !conv->ConnectTo(kService, "Data"); ++i) Pump(50);
        ASSERT_NE(conv->Handle(), nullptr);
        Pump();
    }
    void TearDown() override {
        if (conv) {
            conv->Terminate();
            EXPECT_EQ(conv->Release(), 0);
        }
        client.Shutdown();
        server.Shutdown();
    }

    std::string Request(const char* itemName, bool* ok = nullptr) {
        char* data = nullptr;
        DWORD size = 0;
        BOOL got = conv->Request(itemName, &data, &size);
        Pump();
        if (ok) *ok = got != FALSE;
        return got ? Take(data, size) : std::string();
    }

    CDDEServer server;
    CDDEServer client;
    CDDETopic topic;
    PokedItem item;
    CountingConv* conv = nullptr;
};

TEST_F(DdeLibrary, RequestsFindItemsWithoutCase) {
    EXPECT_EQ(Request("value"), "first");
    EXPECT_EQ(Request("VALUE"), "first");
    bool ok = true;
    Request("nothing", &ok);
    EXPECT_FALSE(ok);
}

TEST_F(DdeLibrary, AnotherFormatStillGivesTheTextButCannotBeAdvised) {
    CHSZ itemHandle;
    itemHandle.Create(client.m_dwDDEInstance, "Value");
    HDDEDATA reply = DdeClientTransaction(nullptr, 0, conv->Handle(), itemHandle.Handle(), CF_OEMTEXT,
                                          XTYP_REQUEST, 5000, nullptr);
    Pump();
    ASSERT_NE(reply, nullptr);
    char text[16] = {};
    DdeGetData(reply, reinterpret_cast<LPBYTE>(text), sizeof(text) - 1, 0);
    DdeFreeDataHandle(reply);
    EXPECT_STREQ(text, "first");
    EXPECT_EQ(DdeClientTransaction(nullptr, 0, conv->Handle(), itemHandle.Handle(), CF_OEMTEXT,
                                   XTYP_ADVSTART, 5000, nullptr), nullptr);
    Pump();
}

TEST_F(DdeLibrary, PokeStoresTextBoundedByItsSizeAndAdvises) {
    ASSERT_TRUE(conv->AdviseStart("Value"));
    Pump();
    // Five bytes without a NUL: the item takes exactly them.
    ASSERT_TRUE(conv->Poke(CF_TEXT, "Value", "hello-world", 5));
    Pump(100);
    EXPECT_STREQ(item.GetData(), "hello");
    EXPECT_EQ(item.pokes, 1);
    EXPECT_EQ(Request("Value"), "hello");
    // SetData advises too.
    item.SetData("second");
    Pump(100);
    ASSERT_FALSE(conv->advised.empty());
    EXPECT_EQ(conv->advised.back(), "second");
}

TEST_F(DdeLibrary, ConversationsLiveFromConnectToDisconnect) {
    ASSERT_EQ(server.Conversations().size(), 1u) << "the partner's side of the conversation";
    ASSERT_EQ(client.Conversations().size(), 1u) << "the program's own conversation";
    EXPECT_TRUE(conv->Terminate());
    EXPECT_FALSE(conv->Terminate()) << "nothing held any more";
    Pump(100);
    EXPECT_TRUE(client.Conversations().empty());
    EXPECT_TRUE(server.Conversations().empty()) << "the partner's disconnect ends it";
    // A conversation still open when the server shuts down is ended by the shutdown.
    ASSERT_TRUE(conv->ConnectTo(kService, "Data"));
    Pump(100);
    ASSERT_EQ(server.Conversations().size(), 1u);
    server.Shutdown();
    EXPECT_TRUE(server.Conversations().empty());
}

TEST_F(DdeLibrary, ExecuteWithoutAHandlerFails) {
    EXPECT_FALSE(conv->Exec("anything"));
    Pump();
}

TEST_F(DdeLibrary, SystemTopicLists) {
    CountingConv* system = new CountingConv(&client);
    system->AddRef();
    ASSERT_TRUE(system->ConnectTo(kService, "System"));
    Pump();
    struct Case {
        const char* item;
        const char* text;
    } cases[] = {
        {"Topics", "System\tData"},
        {"SysItems", "TopicItemList\tFormats\tTopics\tSysItems"},
        // The shared list items describe the topic that added them last.
        {"TopicItemList", "TopicItemList\tFormats\tValue"},
        {"Formats", "TEXT"},
    };
    for (const Case& c : cases) {
        char* data = nullptr;
        DWORD size = 0;
        ASSERT_TRUE(system->Request(c.item, &data, &size)) << c.item;
        Pump();
        EXPECT_EQ(Take(data, size), c.text) << c.item;
    }
    system->Terminate();
    EXPECT_EQ(system->Release(), 0);
}

TEST_F(DdeLibrary, WildConnectListsTopicsOfThisServiceOnly) {
    HDDEDATA all = server.OnCallback(XTYP_WILDCONNECT, 0, nullptr, nullptr, nullptr, nullptr, 0, 0);
    ASSERT_NE(all, nullptr);
    DWORD size = DdeGetData(all, nullptr, 0, 0);
    ASSERT_EQ(size, 3 * sizeof(HSZPAIR)) << "two topics and the ending pair";
    HSZPAIR pairs[3];
    DdeGetData(all, reinterpret_cast<LPBYTE>(pairs), size, 0);
    DdeFreeDataHandle(all);
    EXPECT_EQ(StringFromHsz(server.m_dwDDEInstance, pairs[0].hszSvc), kService);
    EXPECT_EQ(StringFromHsz(server.m_dwDDEInstance, pairs[0].hszTopic), "System");
    EXPECT_EQ(StringFromHsz(server.m_dwDDEInstance, pairs[1].hszTopic), "Data");
    EXPECT_EQ(pairs[2].hszSvc, nullptr);
    EXPECT_EQ(pairs[2].hszTopic, nullptr);

    CHSZ other;
    other.Create(server.m_dwDDEInstance, "SOMEONEELSE");
    EXPECT_EQ(server.OnCallback(XTYP_WILDCONNECT, 0, nullptr, nullptr, other.Handle(), nullptr, 0, 0), nullptr);
    CHSZ unknownTopic;
    unknownTopic.Create(server.m_dwDDEInstance, "Nowhere");
    EXPECT_EQ(server.OnCallback(XTYP_WILDCONNECT, 0, nullptr, unknownTopic.Handle(), nullptr, nullptr, 0, 0), nullptr);
}

TEST_F(DdeLibrary, OneInstanceOfEachKind) {
    CDDEServer second;
    EXPECT_FALSE(second.Create("TOLVILIBOTHER", nullptr, TRUE));
    CDDEServer secondClient;
    EXPECT_FALSE(secondClient.Create("TOLVILIBOTHER", nullptr, FALSE));
}

TEST(DdeInstance, ShutdownIsSafeUninitialisedAndTwice) {
    CDDEServer never;
    never.Shutdown();
    EXPECT_FALSE(never.Initialised());
    CDDEServer once;
    ASSERT_TRUE(once.Create("TOLVILIBONCE", nullptr, TRUE));
    once.Shutdown();
    once.Shutdown();
    EXPECT_FALSE(once.Initialised());
}

TEST(DdeInstance, ConnectToAMissingServiceFails) {
    CDDEServer client;
    ASSERT_TRUE(client.Create("TOLVILIBLONE", nullptr, FALSE));
    CDDEConv* conv = new CDDEConv(&client);
    conv->AddRef();
    EXPECT_FALSE(conv->ConnectTo("TOLVINOSUCH", "Data"));
    EXPECT_FALSE(conv->Terminate());
    EXPECT_EQ(conv->Release(), 0);
}

}  // namespace
