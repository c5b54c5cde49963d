// TolviFTP's site store, password scrambling, name tables, the site dialog's rules and the
// walks of the session commands. The store runs on the native profile store and, in the Windows
// tree, on the platform's own profile functions too: both must give the same files.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "../shell/temp_folder.h"
#include "shell/native_profile.h"
#include "site_dialog_rules.h"
#include "site_store.h"
#include "transfer_walk.h"
#ifdef _WIN32
#include "shell/win32/win32_profile.h"
#endif

namespace {

std::vector<std::string> StoreKinds()
{
#ifdef _WIN32
    return {"native", "win32"};
#else
    return {"native"};
#endif
}

std::unique_ptr<ProfileStore> MakeStore(const std::string& kind)
{
#ifdef _WIN32
    if (kind == "win32")
        return std::make_unique<Win32Profile>();
#endif
    return std::make_unique<NativeProfile>();
}

class SiteStoreTest : public ::testing::TestWithParam<std::string> {
protected:
    TempFolder folder;
    std::string file = folder.File("TOLVIFTP.INI");
    std::unique_ptr<ProfileStore> profile = MakeStore(GetParam());
    std::string Text() const { return TempFolder::Read(file); }
};

SiteRecord Sample(const std::string& name, const std::string& password)
{
    SiteRecord r;
    r.name = name;
    r.host = "127.0.0.1:2121";
    r.user = "tolvi";
    r.password = password;
    r.localDirectory = "c:\\work";
    r.remoteDirectory = "/pub";
    r.localMask = "*.txt";
    r.remoteMask = "*.c";
    r.script = "go.ftp";
    r.mode = 'A';
    r.loginType = 1;
    r.charset = 3;
    r.localCharset = 3;
    r.translate = true;
    r.showDir = false;
    r.localShowDir = false;
    r.savePassword = true;
    return r;
}

TEST_P(SiteStoreTest, WritesReadsBackAndListsSites)
{
    SiteStore store(*profile, file);
    store.LoadNumbers();
    EXPECT_EQ(store.NewNumber(), 1);
    ASSERT_TRUE(store.Write(1, Sample("Home", "pw"), true));
    EXPECT_EQ(store.NewNumber(), 2);
    ASSERT_TRUE(store.Write(2, Sample("Work", "secret"), false));

    SiteStore again(*profile, file);
    again.LoadNumbers();
    EXPECT_EQ(again.Names(), (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(again.FindByName("WORK"), 2);
    EXPECT_EQ(again.FindByName("none"), -1);
    EXPECT_TRUE(again.IsDefault("Home"));
    EXPECT_FALSE(again.IsDefault("home"));  // the default is compared exactly

    const SiteRecord r = again.Read(2);
    const SiteRecord want = Sample("Work", "secret");
    EXPECT_EQ(r.name, want.name);
    EXPECT_EQ(r.host, want.host);
    EXPECT_EQ(r.user, want.user);
    EXPECT_EQ(r.password, "secret");
    EXPECT_EQ(r.localDirectory, want.localDirectory);
    EXPECT_EQ(r.remoteDirectory, want.remoteDirectory);
    EXPECT_EQ(r.localMask, want.localMask);
    EXPECT_EQ(r.remoteMask, want.remoteMask);
    EXPECT_EQ(r.script, want.script);
    EXPECT_EQ(r.mode, 'A');
    EXPECT_EQ(r.loginType, 1);
    EXPECT_EQ(r.charset, 3);
    EXPECT_EQ(r.localCharset, 3);
    EXPECT_TRUE(r.translate);
    EXPECT_FALSE(r.showDir);
    EXPECT_FALSE(r.localShowDir);
    EXPECT_TRUE(r.savePassword);

    // The password is never stored in clear; the written names and spellings are the file's.
    const std::string text = Text();
    EXPECT_EQ(text.find("secret"), std::string::npos) << text;
    EXPECT_NE(text.find("Password=" + ScrambleText("secret")), std::string::npos) << text;
    EXPECT_NE(text.find("[Site:2]\r\nSite=Work\r\nHost=127.0.0.1:2121\r\nUser=tolvi\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("LoginType=Anonymous\r\nCharset=iso8859\r\nLocalCharset=iso8859\r\nXlate=On\r\nShowDir=Off"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[SiteNumbers]\r\n1=\r\n2=\r\n"), std::string::npos) << text;
}

TEST_P(SiteStoreTest, MissingKeysTakeTheDefaults)
{
    TempFolder::Write(file, "[SiteNumbers]\r\n5=\r\n[Site:5]\r\nSite=bare\r\nCharset=ebcdic\r\nLoginType=guest\r\n"
                            "Password=plain?\r\nXlate=ON\r\n");
    SiteStore store(*profile, file);
    store.LoadNumbers();
    const SiteRecord r = store.Read(5);
    EXPECT_EQ(r.mode, 'I');
    EXPECT_EQ(r.charset, 4);     // unknown name: the first row
    EXPECT_EQ(r.loginType, 1);   // likewise
    EXPECT_EQ(r.localCharset, 4);
    EXPECT_EQ(r.password, "plain?");  // without both markers: plain text
    EXPECT_TRUE(r.translate);
    EXPECT_TRUE(r.showDir && r.localShowDir && r.savePassword);
    EXPECT_EQ(store.DefaultSite(), "DefaultSite");
}

TEST_P(SiteStoreTest, LongestPasswordSurvivesTheStore)
{
    // 79 characters scramble to 160: read back whole, closing marker included.
    const std::string password(kSiteTextMax, 'x');
    SiteStore store(*profile, file);
    store.LoadNumbers();
    SiteRecord site = Sample("Long", password);
    ASSERT_TRUE(store.Write(store.NewNumber(), site, false));
    EXPECT_EQ(store.Read(1).password, password);
    // Save password off, or an empty password: an empty value.
    site.savePassword = false;
    store.Write(1, site, false);
    EXPECT_EQ(store.Read(1).password, "");
    EXPECT_NE(Text().find("Password=\r\n"), std::string::npos);

    // A password a script gave in its scrambled form is stored as it came, not scrambled again.
    site = Sample("Long", ScrambleText("secret"));
    store.Write(1, site, false);
    EXPECT_EQ(store.Read(1).password, "secret");

    // A longer plain password written by hand is cut when read, so saving the site keeps it.
    const std::string handWritten(120, 'y');
    TempFolder::Write(file, "[SiteNumbers]\r\n1=\r\n[Site:1]\r\nSite=Long\r\nPassword=" + handWritten + "\r\n");
    SiteStore edited(*profile, file);
    edited.LoadNumbers();
    site = edited.Read(1);
    EXPECT_EQ(site.password, handWritten.substr(0, kSiteTextMax));
    ASSERT_TRUE(edited.Write(1, site, false));
    EXPECT_EQ(edited.Read(1).password, site.password);
}


TEST_P(SiteStoreTest, ValuesWithBlanksOrQuotesAroundThemReadBackAsTheyWere)
{
    // The read drops blanks around a value and one pair of matching quotes: such values are
    // written in quotes of their own. A value of the longest length survives its quotes too.
    const std::string longest = ' ' + std::string(kSiteTextMax - 1, 'h');
    const struct {
        const char* what;
        std::string value;
    } cases[] = {{"leading blank", " lead"},        {"trailing tab", "trail\t"},     {"double quotes", "\"q\""},
                 {"single quotes", "'q'"},          {"quotes and blanks", " \"q\" "}, {"one quote", "\"q"},
                 {"only quotes", "\"\""},           {"a blank", " "},                {"longest", longest}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.File(std::string(c.what) + ".ini");
        SiteStore store(*profile, file);
        store.LoadNumbers();
        SiteRecord site = Sample(c.value, "");
        site.host = site.user = site.localDirectory = site.script = c.value;
        ASSERT_TRUE(store.Write(store.NewNumber(), site, true));
        FtpGeneralSettings general;
        general.email = c.value;
        ASSERT_TRUE(WriteGeneralSettings(*profile, file.c_str(), general));

        SiteStore again(*profile, file);
        again.LoadNumbers();
        const SiteRecord r = again.Read(1);
        EXPECT_EQ(r.name, c.value);
        EXPECT_EQ(r.host, c.value);
        EXPECT_EQ(r.user, c.value);
        EXPECT_EQ(r.localDirectory, c.value);
        EXPECT_EQ(r.script, c.value);
        EXPECT_EQ(again.FindByName(c.value), 1);
        EXPECT_TRUE(again.IsDefault(c.value));
        char email[128];
        profile->GetString("TolviFTP", "Email", "", email, sizeof email, file.c_str());
        EXPECT_EQ(email, c.value);
        // A plain value is written bare.
        EXPECT_NE(TempFolder::Read(file).find("\r\nCD=/pub\r\n"), std::string::npos) << TempFolder::Read(file);
    }
}
TEST_P(SiteStoreTest, NumbersHolesAndDeletion)
{
    TempFolder::Write(file, "[TolviFTP]\r\nDefaultSite=B\r\n[SiteNumbers]\r\n1=\r\n2=\r\nx=\r\n0=\r\n100=\r\n2=\r\n4=\r\n"
                            "[Site:1]\r\nSite=A\r\n[Site:2]\r\nSite=B\r\n[Site:4]\r\nSite=D\r\n");
    SiteStore store(*profile, file);
    store.LoadNumbers();
    // Keys that are not 1..99 or repeat are skipped, not holes and not the end.
    EXPECT_EQ(store.Numbers()[0], 1);
    EXPECT_EQ(store.Numbers()[1], 2);
    EXPECT_EQ(store.Numbers()[2], 4);
    EXPECT_EQ(store.Numbers()[3], -1);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"A", "B", "D"}));

    ASSERT_TRUE(store.Delete(2));
    // A hole: the list goes on past it; the default site is emptied; the section is gone.
    EXPECT_EQ(store.Numbers()[1], 0);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"A", "D"}));
    std::string name;
    EXPECT_EQ(store.NameAt(1, name), 0);
    EXPECT_EQ(store.NameAt(2, name), 4);
    EXPECT_EQ(name, "D");
    EXPECT_EQ(store.NameAt(3, name), -1);
    EXPECT_EQ(store.NameAt(kFtpSiteSlots, name), -1);
    EXPECT_EQ(store.NameAt(-1, name), -1);
    EXPECT_EQ(store.DefaultSite(), "");
    const std::string text = Text();
    EXPECT_EQ(text.find("[Site:2]"), std::string::npos) << text;
    EXPECT_EQ(text.find("Site=B"), std::string::npos) << text;

    // Numbers 1 and 4 in use: the next new site gets 2, in the hole's slot; FreeNumber only looks.
    EXPECT_EQ(store.FreeNumber(), 2);
    EXPECT_EQ(store.Numbers()[1], 0);
    EXPECT_EQ(store.NewNumber(), 2);
    EXPECT_EQ(store.Numbers()[1], 2);
    SiteStore reread(*profile, file);
    reread.LoadNumbers();
    EXPECT_EQ(reread.Names(), (std::vector<std::string>{"A", "D"}));
}

TEST_P(SiteStoreTest, DefaultSiteCheckedAndUnchecked)
{
    SiteStore store(*profile, file);
    store.LoadNumbers();
    store.Write(store.NewNumber(), Sample("One", ""), true);
    EXPECT_TRUE(store.IsDefault("One"));
    // Unchecking on the default site empties DefaultSite, also across a rename.
    store.Write(1, Sample("Renamed", ""), false);
    EXPECT_EQ(store.DefaultSite(), "");
    store.Write(1, Sample("Renamed", ""), true);
    store.Write(store.NewNumber(), Sample("Other", ""), false);
    EXPECT_EQ(store.DefaultSite(), "Renamed");  // another site's save leaves it alone
}

TEST_P(SiteStoreTest, NinetyNineSitesLeaveNoNumber)
{
    SiteStore store(*profile, file);
    std::array<int, kFtpSiteSlots> full;
    full.fill(-1);
    for (int i = 0; i < 99; ++i)
        full[i] = i + 1;
    store.SetNumbers(full);
    EXPECT_EQ(store.NewNumber(), -1);
    EXPECT_EQ(store.Numbers()[99], -1);
    EXPECT_FALSE(store.Write(-1, Sample("x", ""), false));
    EXPECT_EQ(Text(), "");  // nothing written
}

TEST_P(SiteStoreTest, GeneralSettingsWriteEveryKey)
{
    FtpGeneralSettings s;
    s.email = "me@example.org";
    s.tempDir = "c:\\tmp";
    s.logFile = "c:\\tmp\\x.log";
    s.enableLog = s.confirm = s.debug = s.appendMode = true;
    s.autoSizeWindow = false;
    ASSERT_TRUE(WriteGeneralSettings(*profile, file.c_str(), s));
    EXPECT_EQ(Text(), "[TolviFTP]\r\nEmail=me@example.org\r\nTempDir=c:\\tmp\r\nLogFile=c:\\tmp\\x.log\r\n"
                      "EnableLog=On\r\nRetain=Off\r\nAutoDelete=Off\r\nAutoName=Off\r\nConfirm=On\r\nVerbose=Off\r\n"
                      "Debug=On\r\nWarningIfZeroLength=Off\r\nAutoSizeWindow=Off\r\nAppendMode=On\r\nAvoidZero=On\r\n");
}

INSTANTIATE_TEST_SUITE_P(Stores, SiteStoreTest, ::testing::ValuesIn(StoreKinds()));

TEST(ProfileKeysTest, ListsAndDeletesLikeThePlatform)
{
    // Key listing skips lines without "=", deleting a missing key or section changes nothing.
    for (const std::string& kind : StoreKinds()) {
        TempFolder folder;
        const std::string file = folder.File("p.ini");
        TempFolder::Write(file, "[a]\r\nx=1\r\nbare\r\ny=\r\n[b]\r\nz=2\r\n");
        auto store = MakeStore(kind);
        EXPECT_EQ(store->KeyNames("A", file.c_str()), (std::vector<std::string>{"x", "y"})) << kind;
        EXPECT_TRUE(store->KeyNames("none", file.c_str()).empty()) << kind;
        EXPECT_TRUE(store->DeleteKey("a", "missing", file.c_str())) << kind;
        EXPECT_TRUE(store->DeleteKey("a", "X", file.c_str())) << kind;
        EXPECT_TRUE(store->DeleteSection("B", file.c_str())) << kind;
        EXPECT_TRUE(store->DeleteSection("none", file.c_str())) << kind;
        EXPECT_EQ(TempFolder::Read(file), "[a]\r\nbare\r\ny=\r\n") << kind;
    }
}

TEST(ScrambleTest, RoundTripAndShape)
{
    const std::vector<std::string> plains = {"", "a", "secret", std::string("\x01\xff\x80 ~", 5), std::string(79, 'z')};
    for (const std::string& plain : plains) {
        const std::string s = ScrambleText(plain);
        ASSERT_EQ(s.size(), 2 * plain.size() + 2);
        EXPECT_EQ(s.front(), '?');
        EXPECT_EQ(s.back(), '?');
        for (std::size_t i = 1; i + 1 < s.size(); ++i)
            EXPECT_TRUE(s[i] >= 'a' && s[i] <= 'p') << s;
        EXPECT_EQ(StoredPassword(s), plain);
        if (plain.size() > 1) {
            EXPECT_EQ(s.find(plain), std::string::npos);
        }
    }
}

TEST(ScrambleTest, OddStoredValuesStayInside)
{
    const std::string good = ScrambleText("abc");  // "?" + 6 letters + "?"
    const struct {
        std::string stored;
        std::string want;
    } cases[] = {
        {"?", ""},
        {"??", ""},
        {"?q?", ""},                                  // one odd letter: ignored
        {"?" + good.substr(1, 2) + "zz" + good.substr(5), "a"},  // a letter outside a..p stops it
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredPassword(c.stored), c.want) << c.stored;
    // An odd letter count decodes whole pairs only.
    EXPECT_LE(StoredPassword("?" + good.substr(1, 5) + "?").size(), 2u);
    // The log-on unscrambles only more than three characters between markers.
    EXPECT_EQ(LoginPassword("??"), "??");
    EXPECT_EQ(LoginPassword("?a?"), "?a?");
    EXPECT_EQ(LoginPassword(good), "abc");
    EXPECT_EQ(LoginPassword("word"), "word");
}

TEST(NameTablesTest, CodesNamesAndRadioOrders)
{
    EXPECT_EQ(CharsetCode("IBMPC"), 4);
    EXPECT_EQ(CharsetCode("8bit"), 2);
    EXPECT_EQ(CharsetCode("?"), 4);
    EXPECT_EQ(CharsetName(1), "7bit");
    EXPECT_EQ(CharsetName(9), "ibmpc");
    EXPECT_EQ(LoginTypeCode("normal"), 2);
    EXPECT_EQ(LoginTypeName(7), "Anonymous");
    EXPECT_EQ(RadioIndex(kRemoteCharsetOrder, 1), 2);
    EXPECT_EQ(RadioIndex(kLocalCharsetOrder, 1), 0);  // not in the table: the first button
    EXPECT_EQ(RadioIndex(kModeOrder, 'U'), 2);
    EXPECT_EQ(RadioCode(kRemoteCharsetOrder, 3), 2);
    EXPECT_EQ(RadioCode(kModeOrder, 5), 'I');
}

TEST(SiteDialogRulesTest, NameChecksAndMirroring)
{
    const std::vector<std::string> entries = {"Home", "Work", kNewSiteName};
    EXPECT_EQ(CheckSiteName("", entries, 0), SiteNameProblem::kEmpty);
    EXPECT_EQ(CheckSiteName("work", entries, 0), SiteNameProblem::kInUse);
    EXPECT_EQ(CheckSiteName("Work", entries, 1), SiteNameProblem::kNone);  // its own entry
    EXPECT_EQ(CheckSiteName("New", entries, 2), SiteNameProblem::kNone);
    EXPECT_EQ(FindNewSiteEntry(entries), 2);
    EXPECT_EQ(FindNewSiteEntry({"Home"}), -1);

    SiteNameHostMirror m;
    m.ComboFocus("");
    EXPECT_TRUE(m.HostFollowsName());
    EXPECT_FALSE(m.NameFollowsHost());
    m.HostFocus(kNewSiteName);
    EXPECT_FALSE(m.HostFollowsName());  // the host field has the focus
    EXPECT_TRUE(m.NameFollowsHost());
    m.ComboFocus("somehost");
    EXPECT_FALSE(m.HostFollowsName());
    m.HostFocus("named");
    EXPECT_FALSE(m.NameFollowsHost());
}

// A scripted walk: selected entries, connection answers and results per entry.
class FakeSteps : public WalkSteps {
public:
    std::deque<std::pair<std::string, FileEntryKind>> selected;
    std::vector<int> results;  // per One call; missing ones succeed
    bool connected = true;
    bool connectWorks = true;
    int connects = 0;
    std::vector<std::string> done;

    bool Connected() override { return connected; }
    void Connect() override
    {
        ++connects;
        connected = connectWorks;
    }
    bool Next(std::string& name, FileEntryKind& kind) override
    {
        if (selected.empty())
            return false;
        name = selected.front().first;
        kind = selected.front().second;
        selected.pop_front();
        return true;
    }
    int One(const std::string& name, FileEntryKind kind) override
    {
        done.push_back((kind == FileEntryKind::kDirectory ? "dir:" : "") + name);
        return done.size() <= results.size() ? results[done.size() - 1] : 0;
    }
};

TEST(TransferWalkTest, SendReceiveAndDeleteWalks)
{
    int state = kTransferIdle;
    {
        FakeSteps s;
        s.selected = {{"a", FileEntryKind::kFile}, {"b", FileEntryKind::kFile}, {"c", FileEntryKind::kFile}};
        s.results = {0, 5};
        EXPECT_EQ(SendWalk(state, s), kTransferFailed);  // a failed file ends the walk
        EXPECT_EQ(s.done, (std::vector<std::string>{"a", "b"}));
        EXPECT_FALSE(WalkRunning(state));
    }
    {
        FakeSteps s;
        s.connected = false;
        s.connectWorks = false;
        s.selected = {{"a", FileEntryKind::kFile}};
        EXPECT_EQ(SendWalk(state, s), kTransferFailed);
        EXPECT_EQ(s.connects, 1);
        EXPECT_TRUE(s.done.empty());
        EXPECT_EQ(ReceiveWalk(state, s, false), kTransferIdle);  // receiving: 0
        EXPECT_EQ(DeleteWalk(state, kTransferRemoteWalk, s, true), kTransferIdle);
        EXPECT_TRUE(s.done.empty());
    }
    {
        FakeSteps s;
        s.connected = false;
        s.selected = {{"x", FileEntryKind::kFile}, {"y", FileEntryKind::kFile}};
        EXPECT_EQ(ReceiveWalk(state, s, false), kTransferIdle);
        EXPECT_EQ(s.done, (std::vector<std::string>{"x", "y"}));
        EXPECT_EQ(ReceiveWalk(state, s, true), kTransferIdle);  // single: one call, no Next
        EXPECT_EQ(s.done.size(), 3u);
    }
    {
        // Deleting goes on past a failed entry; directories keep the kind the list recorded.
        FakeSteps s;
        s.selected = {{"old", FileEntryKind::kDirectory}, {"[old]x.txt", FileEntryKind::kFile}, {"z", FileEntryKind::kFile}};
        s.results = {3};
        EXPECT_EQ(DeleteWalk(state, kTransferLocalWalk, s, false), kTransferIdle);
        EXPECT_EQ(s.done, (std::vector<std::string>{"dir:old", "[old]x.txt", "z"}));
    }
}

// A list that records the kind of each entry, as the file lists do.
class KindList : public FileListModel {
public:
    std::vector<std::string> texts;
    std::vector<FileEntryKind> kinds;
    std::vector<bool> selected;
    int Count() const override { return static_cast<int>(texts.size()); }
    std::string Text(int i) const override { return texts[static_cast<std::size_t>(i)]; }
    bool Selected(int i) const override { return selected[static_cast<std::size_t>(i)]; }
    void Select(int i, bool on) override { selected[static_cast<std::size_t>(i)] = on; }
    void Insert(int i, const std::string& text) override
    {
        texts.insert(texts.begin() + i, text);
        kinds.insert(kinds.begin() + i, FileEntryKind::kFile);
        selected.insert(selected.begin() + i, false);
    }
    void Remove(int i) override {}
    FileEntryKind Kind(int i) const override { return kinds[static_cast<std::size_t>(i)]; }
    void SetKind(int i, FileEntryKind kind) override { kinds[static_cast<std::size_t>(i)] = kind; }
};

TEST(TransferWalkTest, BracketedFileNamesStayFiles)
{
    KindList list;
    InsertSorted(list, "b.txt\t1", FileEntryKind::kFile);
    InsertSorted(list, "[old]x.txt\t2", FileEntryKind::kFile);
    InsertSorted(list, "[zeta]", FileEntryKind::kDirectory);
    InsertSorted(list, "[old]", FileEntryKind::kDirectory);
    InsertSorted(list, "[..]", FileEntryKind::kParent);
    EXPECT_EQ(list.texts, (std::vector<std::string>{"[..]", "[old]", "[zeta]", "[old]x.txt\t2", "b.txt\t1"}));
    list.selected.assign(list.texts.size(), true);
    // Sending deselects "[..]" and the directories, never the file that looks like one.
    EXPECT_EQ(DeselectNonFiles(list, 16), 2);
    EXPECT_TRUE(list.selected[3]);
    EXPECT_EQ(CaretAfterFill(list), 3);
}

TEST(TransferWalkTest, DestinationNames)
{
    const struct {
        const char* remote;
        bool ok;
        const char* local;
    } cases[] = {
        {"file.txt", true, "file.txt"},       {"../../evil.txt", true, "evil.txt"},
        {"/etc/passwd", true, "passwd"},      {"dir\\sub\\name.c", true, "name.c"},
        {"DATA.LIS;3", true, "DATA.LIS;3"},   {"", false, ""},
        {".", false, ""},                     {"..", false, ""},
        {"a/..", false, ""},                  {"dir/", false, ""},
        {"c:evil", false, ""},                {"NUL", false, ""},
        {"con.txt", false, ""},               {"Com1", false, ""},
        {"lpt9.log", false, ""},              {"com10", true, "com10"},
        {"tab\there", false, ""},
        // Names the system cannot create as they are: refused, never written under another name.
        {"pipe|x.txt", false, ""},            {"star*x.txt", false, ""},
        {"...", false, ""},                   {"x.txt.", false, ""},
        {"x.txt ", false, ""},                {"q?.txt", false, ""},
        {"a<b>.txt", false, ""},              {"say\"hi\".txt", false, ""},
        {"esc\x1b[2J.txt", false, ""},
    };
    for (const auto& c : cases) {
        std::string local = "unchanged";
        EXPECT_EQ(ReceiveDestination(c.remote, local), c.ok) << c.remote;
        EXPECT_EQ(local, c.ok ? c.local : "unchanged") << c.remote;
    }
    std::string local;
    EXPECT_TRUE(ReceiveDestination(std::string(kMaxLocalName, 'n'), local));
    EXPECT_FALSE(ReceiveDestination(std::string(kMaxLocalName + 1, 'n'), local));
    EXPECT_FALSE(ReceiveDestination(std::string(100000, 'n'), local));
    EXPECT_EQ(SendDestination("C:\\Work\\Report.TXT"), "report.txt");
    EXPECT_EQ(SendDestination("Mixed.Case"), "mixed.case");
}

TEST(TransferWalkTest, AutoModeTypeByEnding)
{
    const struct {
        char mode;
        const char* name;
        char type;
    } cases[] = {
        {'U', "notes.txt", 'A'},  {'U', "C:\\Src\\MAIN.CPP", 'A'}, {'u', "page.HTML", 'A'},  {'U', "run.sh", 'A'},
        {'U', "data.bin", 'I'},   {'U', "archive.tar.gz", 'I'},   {'U', "README", 'I'},    {'U', ".txt", 'I'},
        {'U', "dir.txt/x", 'I'},  {'U', "txt", 'I'},              {'A', "data.bin", 'A'},  {'I', "notes.txt", 'I'},
        {'i', "notes.txt", 'I'},  {'\0', "notes.txt", 'I'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TransferTypeFor(c.mode, c.name), c.type) << c.mode << " " << c.name;
}

}  // namespace
