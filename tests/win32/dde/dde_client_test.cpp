// The client side of the two-process DDE tests, written on plain DDEML as another application
// would be: it talks to the test host's server "TOLVI" (topic "TOLVITOP" and "System"), checks
// what reaches the loopback Telnet peer (the file TOLVI_PEER_DIR/received.bin), reads the screen
// through "gettxt"/"txtret", and serves "TOLVISINK|sink|inbox" for the host's recorder to poke.
//
// Wine's DDEML wants: retries on the first connect, the message queue emptied between
// synchronous transactions, and no asynchronous transactions; a transaction that makes the
// server advise the same conversation reports failure here although the server took it.
#include <windows.h>
#include <ddeml.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "message_pump.h"
#include "screen_pattern.h"

namespace {

DWORD instance = 0;
HSZ sinkService = nullptr;
HCONV session = nullptr;
HCONV systemTopic = nullptr;
std::vector<std::string> inbox;     // pokes to TOLVISINK|sink|inbox
std::vector<std::string> advised;   // advise data of "txtret"

std::string HszText(HSZ handle) {
    char text[256] = {};
    DdeQueryStringA(instance, handle, text, sizeof(text), CP_WINANSI);
    return text;
}

std::string DataText(HDDEDATA data) {
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(&text[0]), size, 0);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                 ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(lstrcmpiA(HszText(hsz1).c_str(), "sink") == 0));
    case XTYP_POKE:
        if (lstrcmpiA(HszText(hsz2).c_str(), "inbox") != 0) return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
        inbox.push_back(DataText(data));
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    case XTYP_ADVDATA:
        advised.push_back(DataText(data));
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    default:
        return nullptr;
    }
}

void Pump(DWORD milliseconds = 30) { PumpMessages(milliseconds); }

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) { return PumpMessagesUntil(done, milliseconds); }

HCONV Connect(const char* service, const char* topic) {
    HSZ s = DdeCreateStringHandleA(instance, service, CP_WINANSI);
    HSZ t = DdeCreateStringHandleA(instance, topic, CP_WINANSI);
    HCONV conv = nullptr;
    // The server may not have registered yet.
    for (int i = 0; i < 100 && !conv; ++i) {
        conv = DdeConnect(instance, s, t, nullptr);
        if (!conv) Pump(100);
    }
    DdeFreeStringHandle(instance, s);
    DdeFreeStringHandle(instance, t);
    Pump();
    return conv;
}

// A synchronous transaction; the queue is emptied afterwards.
HDDEDATA Transact(HCONV conv, UINT type, const char* item, const void* data, DWORD size, UINT format = CF_TEXT) {
    HSZ handle = item ? DdeCreateStringHandleA(instance, item, CP_WINANSI) : nullptr;
    HDDEDATA result = DdeClientTransaction(static_cast<LPBYTE>(const_cast<void*>(data)), size, conv,
                                           handle, format, type, 5000, nullptr);
    if (handle) DdeFreeStringHandle(instance, handle);
    Pump();
    return result;
}

bool Poke(const char* item, const std::string& text) {
    return Transact(session, XTYP_POKE, item, text.c_str(), static_cast<DWORD>(text.size() + 1)) != nullptr;
}

bool Execute(const std::string& command) {
    return Transact(session, XTYP_EXECUTE, nullptr, command.c_str(), static_cast<DWORD>(command.size() + 1)) != nullptr;
}

bool Request(HCONV conv, const char* item, std::string& text) {
    HDDEDATA data = Transact(conv, XTYP_REQUEST, item, nullptr, 0);
    if (!data) return false;
    text = DataText(data);
    DdeFreeDataHandle(data);
    return true;
}

std::string Request(const char* item) {
    std::string text = "<no data>";
    Request(session, item, text);
    return text;
}

std::string PeerReceived() {
    const char* dir = std::getenv("TOLVI_PEER_DIR");
    if (!dir) return "";
    std::FILE* f = std::fopen((std::string("Z:") + dir + "/received.bin").c_str(), "rb");
    if (!f) return "";
    std::string data;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof(buffer), f)) data.append(buffer, n);
    std::fclose(f);
    return data;
}

bool PeerGot(const std::string& text) {
    return PumpUntil([&] { return PeerReceived().find(text) != std::string::npos; }, 10000);
}

class DdeSession : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(DdeInitializeA(&instance, ClientCallback, APPCLASS_STANDARD, 0), static_cast<UINT>(DMLERR_NO_ERROR));
        sinkService = DdeCreateStringHandleA(instance, "TOLVISINK", CP_WINANSI);
        DdeNameService(instance, sinkService, nullptr, DNS_REGISTER);
        session = Connect("TOLVI", "TOLVITOP");
        ASSERT_NE(session, nullptr) << "the test host's server did not answer";
        systemTopic = Connect("TOLVI", "System");
    }
    void TearDown() override {
        if (session) DdeDisconnect(session);
        if (systemTopic) DdeDisconnect(systemTopic);
        Pump();
        // Close the host as its user would close Tolvi; it reports its own failures by exit code.
        HWND host = FindWindowA("TolviDdeTestHost", nullptr);
        EXPECT_NE(host, nullptr);
        if (host) {
            DWORD pid = 0;
            GetWindowThreadProcessId(host, &pid);
            HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
            PostMessageA(host, WM_CLOSE, 0, 0);
            if (process) {
                EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
                DWORD code = 99;
                GetExitCodeProcess(process, &code);
                EXPECT_EQ(code, 0u) << "the test host's exit code";
                CloseHandle(process);
            }
        }
        DdeNameService(instance, sinkService, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(instance, sinkService);
        DdeUninitialize(instance);
    }
};

const testing::Environment* const sessionEnvironment = testing::AddGlobalTestEnvironment(new DdeSession);

TEST(DdeServer, PokeToHostReachesTheHostAndStaysInTheItem) {
    ASSERT_TRUE(Poke("tohost", "poked<20>text-1"));
    EXPECT_TRUE(PeerGot("poked text-1"));
    EXPECT_EQ(Request("tohost"), "poked<20>text-1") << "the item keeps the text as poked";
    EXPECT_EQ(Request("TOHOST"), "poked<20>text-1");
}

TEST(DdeServer, ExecuteForms) {
    EXPECT_TRUE(Execute("TOHOST;exec-upper"));
    EXPECT_TRUE(PeerGot("exec-upper"));
    EXPECT_TRUE(Execute("tohostx;%connect%"));
    EXPECT_TRUE(PeerGot("ACTION:%connect%"));
    EXPECT_TRUE(Execute("tohost;"));
    EXPECT_TRUE(Execute("tohost")) << "not understood, still acknowledged";
    EXPECT_TRUE(Execute("something else"));
    EXPECT_TRUE(Poke("tohostx", "poked-action"));
    EXPECT_TRUE(PeerGot("ACTION:poked-action"));
}

TEST(DdeServer, GettxtCopiesTheScreenIntoTxtret) {
    ASSERT_TRUE(Poke("gettxt", "0;0;80;24"));
    EXPECT_EQ(Request("txtret"), PatternText(0, 0, kPatternCols, kPatternRows));
    ASSERT_TRUE(Execute("gettxt; 3 ; 2 ; 10 ; 4"));
    EXPECT_EQ(Request("txtret"), PatternText(3, 2, 10, 4));
    // Table form of the row with blanks: separator ';', leading and trailing blanks dropped,
    // runs of blanks become one separator, a single blank before a letter stays.
    ASSERT_TRUE(Execute("gettxt;0;5;20;1;59;1;1;0;0"));
    EXPECT_EQ(Request("txtret"), "ab;cd;-1 x");
}

TEST(DdeServer, BadGettxtLeavesTxtretAlone) {
    ASSERT_TRUE(Poke("gettxt", "1;1;2;2"));
    const std::string before = Request("txtret");
    ASSERT_EQ(before, PatternText(1, 1, 2, 2));
    for (const char* params : {"0;0;81;24", "0;0;80;25", "1;2;3;4;5", "79;0;2;1", "0;0;1;1;256;0;0;0;0"}) {
        EXPECT_TRUE(Poke("gettxt", params)) << "acknowledged all the same";
        EXPECT_EQ(Request("txtret"), before) << params;
    }
    EXPECT_TRUE(Poke("txtret", "set by the client"));
    EXPECT_EQ(Request("txtret"), "set by the client");
}

TEST(DdeServer, AdviseLoopOnTxtretDeliversEachNewText) {
    ASSERT_NE(Transact(session, XTYP_ADVSTART, "txtret", nullptr, 0), nullptr);
    advised.clear();
    // Under Wine a transaction during which the server posts advise data to the same
    // conversation reports failure to this client, although the server acknowledged it; the
    // advise data and the item show what the execute did.
    Execute("gettxt;0;0;5;1");
    ASSERT_TRUE(PumpUntil([] { return !advised.empty(); }, 5000));
    EXPECT_EQ(advised.back(), PatternText(0, 0, 5, 1));
    Poke("gettxt", "2;3;4;2");
    ASSERT_TRUE(PumpUntil([] { return advised.back() == PatternText(2, 3, 4, 2); }, 5000));
    Transact(session, XTYP_ADVSTOP, "txtret", nullptr, 0);
    EXPECT_TRUE(Execute("gettxt;0;0;1;1")) << "without the loop the acknowledgement arrives";
    EXPECT_EQ(Request("txtret"), "A");
    EXPECT_EQ(Transact(session, XTYP_ADVSTART, "txtret", nullptr, 0, CF_OEMTEXT), nullptr)
        << "advise loops are text only";
}

TEST(DdeServer, SystemTopicAndItemLists) {
    ASSERT_NE(systemTopic, nullptr);
    std::string text;
    ASSERT_TRUE(Request(systemTopic, "Topics", text));
    EXPECT_EQ(text, "System\tTOLVITOP");
    ASSERT_TRUE(Request(systemTopic, "SysItems", text));
    EXPECT_EQ(text, "TopicItemList\tFormats\tTopics\tSysItems");
    ASSERT_TRUE(Request(systemTopic, "Formats", text));
    EXPECT_EQ(text, "TEXT");
    EXPECT_EQ(Request("TopicItemList"), "TopicItemList\tFormats\ttohost\ttohostx\tgettxt\ttxtret");
    EXPECT_EQ(Request("nosuchitem"), "<no data>");
}

TEST(DdeClient, HostOutputBetweenTheTriggersIsPokedToTheDestinationItNames) {
    inbox.clear();
    // The peer echoes what it receives, so this comes back as host output.
    ASSERT_TRUE(Poke("tohost", "noise|FROMHOST|TOLVISINK|sink|inbox|payload 42|END|more"));
    ASSERT_TRUE(PumpUntil([] { return !inbox.empty(); }, 10000)) << "no poke arrived";
    EXPECT_EQ(inbox[0], "TOLVISINK|sink|inbox|payload 42|END|");
    // A recording whose head names no full destination is dropped.
    ASSERT_TRUE(Poke("tohost", "|FROMHOST|TOLVISINK|sink|END|"));
    EXPECT_TRUE(PeerGot("|FROMHOST|TOLVISINK|sink|END|"));
    Pump(500);
    EXPECT_EQ(inbox.size(), 1u);
}

}  // namespace
