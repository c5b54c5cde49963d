// The command-line options applied by the session document, and the window title.
#include <functional>

#include "session_fixture.h"
#include "connections/auto_login.h"

namespace {

class DocumentOptions : public SessionTest {
protected:
    int Apply(const std::string& line)
    {
        Defaults();
        TakeCommandLine(line);
        return doc.ApplyCommandLine();
    }
};

TEST_F(DocumentOptions, EveryOptionSetsItsSetting)
{
    const struct {
        const char* line;
        std::function<bool(const SettingsRecord&, const CZolexDoc&)> check;
    } cases[] = {
        {"host /term:WYSE60", [](auto& r, auto&) { return r.Terminal == 8; }},
        {"/term:viewpoint", [](auto& r, auto&) { return r.Terminal == 11; }},
        {"/term:at386", [](auto& r, auto&) { return r.Terminal == 5; }},
        {"/tport:0x17", [](auto& r, auto&) { return r.TelnetPort == 23; }},
        {"/tport:70000", [](auto& r, auto&) { return r.TelnetPort == 70000 - 65536; }},
        {"/ip:10.0.0.1", [](auto& r, auto&) { return r.ComType == 2 && std::string(r.HostName) == "10.0.0.1"; }},
        {"/host:hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh",  // 70 characters
         [](auto& r, auto&) { return std::string(r.HostName) == std::string(60, 'h'); }},
        {"/htype:10", [](auto& r, auto&) { return r.Platform == 10; }},
        {"/cs:4", [](auto& r, auto&) { return r.Charset == 4; }},
        {"/user:me", [](auto& r, auto& d) { return d.strings.AutoUser1 == "me" && r.AutoLogin == 1; }},
        {"/pw:secret", [](auto& r, auto& d) { return d.strings.AutoUser2 == "secret" && r.AutoLogin == 1; }},
        {"/ah0:a /ah1:b /ah2:c /ah3:d /ah4:e /ah5:f /ah6:g",
         [](auto&, auto& d) {
             const auto& s = d.strings;
             return s.AutoHost0 + s.AutoHost1 + s.AutoHost2 + s.AutoHost3 + s.AutoHost4 + s.AutoHost5 +
                        s.AutoHost6 == "abcdefg";
         }},
        {"/service:s /program:p /section:x /section2:y /section3:z",
         [](auto& r, auto& d) {
             const auto& s = d.strings;
             return s.AutoUser0 + s.AutoUser3 + s.AutoUser4 + s.AutoUser5 + s.AutoUser6 == "spxyz" && r.AutoLogin;
         }},
        {"/t:\"My Title\"", [](auto&, auto&) { return TitleText == "My Title"; }},
        {"/c", [](auto& r, auto&) { return r.AutoConnect == 1; }},
        {"/record:rec.trc", [](auto&, auto& d) { return d.strings.TraceFile == "rec.trc" && Startup.RecordAtStartup; }},
        {"/trace:t.trc", [](auto&, auto& d) { return d.strings.TraceFile == "t.trc" && Startup.RecordAtStartup; }},
        {"/play:p.trc", [](auto&, auto& d) { return d.strings.TraceFile == "p.trc" && Startup.PlayAtStartup; }},
        {"/untrace:u.trc", [](auto&, auto& d) { return d.strings.TraceFile == "u.trc" && Startup.PlayAtStartup; }},
        {"/hot:rules.hot", [](auto&, auto& d) { return d.strings.HotScreenFile == "rules.hot" && d.HotOptionGiven; }},
    };
    for (const auto& c : cases) {
        Startup.NewConfiguration[0] = true;
        Startup.RecordAtStartup = Startup.PlayAtStartup = false;
        EXPECT_EQ(Apply(c.line), 0) << c.line;
        EXPECT_TRUE(c.check(*Rec, doc)) << c.line;
        EXPECT_FALSE(Startup.NewConfiguration[0]) << c.line;  // an option means the file is not new
        EXPECT_FALSE(Startup.StartupFailed) << c.line;
    }
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(DocumentOptions, TheNameHostWithConnectAndAddressReadsAsInTheManual)
{
    ASSERT_EQ(Apply("host /c /ip:192.168.1.5"), 0);
    EXPECT_STREQ(Startup.PositionalArgs[0], "host");
    EXPECT_EQ(Rec->AutoConnect, 1);
    EXPECT_EQ(Rec->ComType, 2);
    EXPECT_STREQ(Rec->HostName, "192.168.1.5");
}

TEST_F(DocumentOptions, MissingOrRejectedValuesEndStartUp)
{
    const struct {
        const char* line;
        int message;
        const char* text;
    } cases[] = {
        {"/t", 75, "This command line option need a value: /t"},
        {"/bogus", 75, "This command line option need a value: /bogus"},
        {"/term:wyse", 76, "Unknown command line option or value:  /term:\"wyse\""},
        {"/htype:11", 76, "Unknown command line option or value:  /htype:\"11\""},
        {"/cs:0", 76, "Unknown command line option or value:  /cs:\"0\""},
        {"/tport:none", 76, "Unknown command line option or value:  /tport:\"none\""},
        {"/bogus:%s%n", 76, "Unknown command line option or value:  /bogus:\"%s%n\""},
        {"/c /t", 75, "This command line option need a value: /t"},
    };
    for (const auto& c : cases) {
        prompts.asked.clear();
        Startup.StartupFailed = false;
        EXPECT_EQ(Apply(c.line), -1) << c.line;
        EXPECT_TRUE(Startup.StartupFailed) << c.line;
        ASSERT_EQ(prompts.asked.size(), 1u) << c.line;
        EXPECT_EQ(prompts.asked[0].id, c.message);
        EXPECT_EQ(prompts.asked[0].text, c.text);
    }
}

TEST_F(DocumentOptions, OptionsApplyOnlyOnce)
{
    ASSERT_EQ(Apply("/c"), 0);
    Rec->AutoConnect = 0;
    EXPECT_EQ(doc.ApplyCommandLine(), 0);  // the cursor is not reset
    EXPECT_EQ(Rec->AutoConnect, 0);
}

class DocumentTitle : public SessionTest {};

TEST_F(DocumentTitle, ComposesTheTitleFromTheSettings)
{
    Defaults();
    SettingsRecord& r = *Rec;
    doc.strings.AppNameShown = "Tolvi - ";
    std::snprintf(r.HostName, sizeof r.HostName, "unix.example");
    r.ComType = 2;
    r.Connected = 1;
    doc.SetTitle("s.wcf");
    EXPECT_EQ(doc.BuildTitleText(), "Tolvi -   unix.example (s.wcf)");

    r.ComType = 0;
    r.Port = 2;
    r.Connected = 0;
    r.Connecting = 1;
    r.DialCountdown = 42;
    EXPECT_EQ(doc.BuildTitleText(), "Tolvi -   COM2 : Connecting ... (42 sec) (s.wcf)");

    r.Port = 12;
    r.Connecting = 0;
    TitleText = "Payroll";
    EXPECT_EQ(doc.BuildTitleText(), "Tolvi - Payroll  COM12 : Disconnected (s.wcf)");

    AutoLoginPair = 2;
    AutoLoginRepeatCount = 3;
    doc.strings.AutoHost1 = "ogin:";
    r.TitleConfig = 0;
    r.TitleConnected = 0;
    EXPECT_EQ(doc.BuildTitleText(), "Tolvi - Payroll  COM12 (auto-login: ogin:[3])");
    AutoLoginPair = 0;
    r.TitleAppName = r.TitleUniqueText = r.TitleHostName = 0;
    EXPECT_EQ(doc.BuildTitleText(), "");
}

}  // namespace
