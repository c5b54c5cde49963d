// Character translation of transfers: the translate-table file, every conversion path, and the
// lazy loading around translated transfers.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_session.h"

namespace {

// Marks its steps so that each path shows which conversions ran, in which order.
class TracingConverter : public OemAnsiConverter {
public:
    void ToOem(std::uint8_t* bytes, std::size_t count) override
    {
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = static_cast<std::uint8_t>(bytes[i] + 1);
    }
    void ToAnsi(std::uint8_t* bytes, std::size_t count) override
    {
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = static_cast<std::uint8_t>(bytes[i] + 2);
    }
};

std::vector<std::string> g_log;

void Record(int id, const std::string& text) { g_log.push_back(std::to_string(id) + ":" + text); }

// Each test has its own folder: ctest runs the cases of this file side by side.
std::string kDir;

void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(kDir + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A table file: outgoing b -> b + out, incoming b -> b + in.
std::vector<std::uint8_t> Tables(int out, int in)
{
    std::vector<std::uint8_t> bytes(512);
    for (int b = 0; b < 256; ++b) {
        bytes[b] = static_cast<std::uint8_t>(b + out);
        bytes[256 + b] = static_cast<std::uint8_t>(b + in);
    }
    return bytes;
}

bool IsIdentity(const std::uint8_t* table)
{
    for (int b = 0; b < 256; ++b)
        if (table[b] != b)
            return false;
    return true;
}

class Translation : public testing::Test {
protected:
    void SetUp() override
    {
        kDir = std::string("ftp_xlate_data/") +
               testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::create_directories(kDir);
        ResetFtpSession();
        Xlate() = CharTranslationSettings();
        Xlate().programDir = kDir;
        SetOemAnsiConverter(&converter_);
        SetXlateLog(Record);
        g_log.clear();
    }
    void TearDown() override
    {
        SetOemAnsiConverter(nullptr);
        SetXlateLog(nullptr);
    }
    TracingConverter converter_;
};

TEST_F(Translation, FileNameFollowsTheRemoteSet)
{
    SetCountry(46);
    SetRemoteCharset(kCharsetNational7);
    EXPECT_EQ(TranslateFileName(), kDir + "DECNRC.046");
    SetRemoteCharset(kCharsetMultinational);
    EXPECT_EQ(TranslateFileName(), kDir + "DECMULTI");
    SetRemoteCharset(kCharsetAnsi);
    EXPECT_EQ(TranslateFileName(), kDir + "zlansi.xlt");
    SetRemoteCharset(kCharsetOem);
    EXPECT_EQ(TranslateFileName(), kDir + "zlansi.xlt");
}

TEST_F(Translation, LoadsOutgoingThenIncomingTable)
{
    SetRemoteCharset(kCharsetMultinational);
    WriteFile("DECMULTI", Tables(5, 9));
    ASSERT_EQ(LoadTables(), 0);
    EXPECT_EQ(OutgoingTable['A'], 'A' + 5);
    EXPECT_EQ(IncomingTable['A'], 'A' + 9);
    EXPECT_EQ(Xlate().tablesStale, 0);
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(g_log[0], "3037:Xlate file is: " + kDir + "DECMULTI");
}

TEST_F(Translation, MissingOrShortFileLeavesTheIdentity)
{
    struct Case {
        std::size_t bytes;  // how much of a 512-byte file exists; SIZE_MAX: no file
        const char* message;
    } cases[] = {
        {static_cast<std::size_t>(-1), "3000:Error opening xlate file: "},
        {0, "3001:Error reading outgoing translate table: "},
        {100, "3001:Error reading outgoing translate table: "},
        {300, "3002:Error reading incoming translate table: "},
        {511, "3002:Error reading incoming translate table: "},
    };
    for (const Case& c : cases) {
        SetUp();
        SetRemoteCharset(kCharsetAnsi);
        // Leave tables of an earlier load in place: a failed load must not keep them either.
        WriteFile("zlansi.xlt", Tables(1, 1));
        ASSERT_EQ(LoadTables(), 0);
        std::remove((kDir + "zlansi.xlt").c_str());
        if (c.bytes != static_cast<std::size_t>(-1)) {
            std::vector<std::uint8_t> bytes = Tables(7, 7);
            bytes.resize(c.bytes);
            WriteFile("zlansi.xlt", bytes);
        }
        Xlate().tablesStale = 1;
        g_log.clear();
        EXPECT_NE(LoadTables(), 0) << c.bytes;
        EXPECT_TRUE(IsIdentity(OutgoingTable)) << c.bytes;
        EXPECT_TRUE(IsIdentity(IncomingTable)) << c.bytes;
        EXPECT_EQ(Xlate().tablesStale, 1) << "the next transfer tries again";
        ASSERT_GE(g_log.size(), 2u);
        EXPECT_EQ(g_log[1], c.message + kDir + "zlansi.xlt");
        if (c.bytes == static_cast<std::size_t>(-1)) {
            EXPECT_EQ(g_log.back(), "0:Error: Character translation disabled");
        }
    }
}

TEST_F(Translation, EveryConversionPath)
{
    WriteFile("zlansi.xlt", Tables(16, 32));
    WriteFile("DECMULTI", Tables(16, 32));
    WriteFile("DECNRC.001", Tables(16, 32));
    struct Case {
        int remote;
        int local;
        int outgoing;  // what 'a' becomes on its way to the host
        int incoming;  // what 'a' becomes on its way from the host
    } cases[] = {
        {kCharsetOem, kCharsetAnsi, 'a' + 1, 'a' + 2},          // platform conversion only
        {kCharsetAnsi, kCharsetOem, 'a' + 2, 'a' + 1},          // platform conversion only
        {kCharsetAnsi, kCharsetAnsi, 'a' + 16, 'a' + 32},       // tables only
        {kCharsetOem, kCharsetOem, 'a' + 2 + 16, 'a' + 32 + 1}, // to ANSI, table / table, to OEM
        {kCharsetNational7, kCharsetAnsi, 'a' + 16, 'a' + 32},
        {kCharsetNational7, kCharsetOem, 'a' + 2 + 16, 'a' + 32 + 1},
        {kCharsetMultinational, kCharsetAnsi, 'a' + 16, 'a' + 32},
        {kCharsetMultinational, kCharsetOem, 'a' + 2 + 16, 'a' + 32 + 1},
    };
    for (const Case& c : cases) {
        SetRemoteCharset(c.remote);
        SetLocalCharset(c.local);
        ASSERT_EQ(LoadTables(), 0);
        std::uint8_t out[3] = {'a', 'a', 'a'};
        ConvertOutgoing(out, sizeof out, 0);
        std::uint8_t in[1] = {'a'};
        ConvertIncoming(in, sizeof in, 0);
        EXPECT_EQ(out[0], c.outgoing) << c.remote << "/" << c.local;
        EXPECT_EQ(out[2], c.outgoing) << "the whole buffer";
        EXPECT_EQ(in[0], c.incoming) << c.remote << "/" << c.local;
    }
}

TEST_F(Translation, AvoidZeroSendsABlankForAByteThatWouldBecomeZero)
{
    std::vector<std::uint8_t> tables = Tables(0, 0);
    tables['a'] = 0;
    tables[256 + 'a'] = 0;
    WriteFile("zlansi.xlt", tables);
    SetRemoteCharset(kCharsetAnsi);
    ASSERT_EQ(LoadTables(), 0);
    std::uint8_t with[3] = {'a', 0, 'b'};
    ConvertOutgoing(with, 3, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(with, with + 3), (std::vector<std::uint8_t>{' ', 0, 'b'}));
    std::uint8_t without[3] = {'a', 0, 'b'};
    ConvertOutgoing(without, 3, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(without, without + 3), (std::vector<std::uint8_t>{0, 0, 'b'}));
    std::uint8_t incoming[1] = {'a'};
    ConvertIncoming(incoming, 1, 1);
    EXPECT_EQ(incoming[0], ' ');
}

TEST_F(Translation, TransfersLoadTheTablesOnceAfterEachChange)
{
    WriteFile("DECNRC.046", Tables(3, 4));
    WriteFile("DECNRC.049", Tables(3, 4));
    SetTranslate(1);
    SetRemoteCharset(kCharsetNational7);
    SetCountry(46);
    auto loads = [] {
        int n = 0;
        for (const std::string& line : g_log)
            n += line.rfind("3037:", 0) == 0;
        return n;
    };
    // Not connected: the transfers fail, the tables are still prepared for them.
    EXPECT_EQ(TranslatedGet("remote", "local", 'A', 0, 0, 0), kFtpNotConnected);
    EXPECT_EQ(loads(), 1);
    EXPECT_EQ(g_log[0], "3037:Xlate file is: " + kDir + "DECNRC.046");
    EXPECT_EQ(TranslatedPut("local", "remote", 'A', 0, 0, 0), kFtpNotConnected);
    EXPECT_EQ(loads(), 1) << "loaded tables stay";
    SetLocalCharset(kCharsetOem);
    TranslatedGet("remote", "local", 'A', 0, 0, 0);
    EXPECT_EQ(loads(), 1) << "the local set alone does not reload";
    SetCountry(49);
    TranslatedGet("remote", "local", 'A', 0, 0, 0);
    EXPECT_EQ(loads(), 2);
    EXPECT_EQ(Ftp().translate, 0) << "engine flags are set for one transfer only";
    EXPECT_EQ(Ftp().avoidZero, 0);
    SetTranslate(0);
    SetCountry(46);
    TranslatedGet("remote", "local", 'A', 0, 0, 0);
    EXPECT_EQ(loads(), 2) << "no load while translation is off";
}

TEST(TranslationText, ArgumentIsSubstituted)
{
    SetXlateLog(Record);
    g_log.clear();
    Xlate() = CharTranslationSettings();
    Xlate().programDir = "no/such/dir%1/";
    SetRemoteCharset(kCharsetAnsi);
    EXPECT_NE(LoadTables(), 0);
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(g_log[1], "3000:Error opening xlate file: no/such/dir%1/zlansi.xlt") << "the name is not a format";
    SetXlateLog(nullptr);
}

}  // namespace
