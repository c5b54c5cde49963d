// HotScreen rules against screens drawn by the VT interpreter (and a 3270 screen drawn by the
// 3270 engine): the rule file, conditions, screen macros, evaluation, buttons and actions, and
// evaluations and reloads that arrive while the rules are being walked.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/session_services.h"
#include "engine/host_commands/host_commands.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/ibm3270/outside_hooks.h"
#include "engine/screen_planes.h"
#include "session/session_record.h"
#include "shell/dyn_buttons.h"
#include "shell/hot_screen.h"
#include "shell/native_profile.h"
#include "term_feed.h"
#include "../../../tools/feed3270/screen_dump.h"

namespace {

using Log = std::vector<std::string>;

ViewWindow const kView = reinterpret_cast<ViewWindow>(0x1234);

class RecordingButtons : public ButtonView {
public:
    ButtonGeometry Geometry() override { return {8, 16, 640, 384, 0, 0, 0, 0, 2, 0, 0}; }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton&) override {}
};

// The engine's outside: every call logged; emulator input really goes to the emulation (which
// evaluates the rules again).
class RecordingHost : public HotScreenHost {
public:
    ViewWindow TerminalView() override { return kView; }
    void FeedEmulation(ViewWindow window, const uint8_t* bytes, int n) override
    {
        log.push_back("feed:" + std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n)));
        EXPECT_EQ(kView, window);
        ::FeedEmulation(window, bytes, n);
    }
    void DdePoke(const char* service, const char* topic, const char* item, const char* data, int size) override
    {
        log.push_back(std::string("poke:") + service + "|" + topic + "|" + item + "|" + data + "|" + std::to_string(size));
    }
    void MessageBox(ViewWindow, const std::string& text, const char* caption) override
    {
        log.push_back("box:" + std::string(caption ? caption : "(default)") + ":" + text);
        if (onBox) onBox();
    }
    void RefreshTitle() override { log.push_back("title:" + TitleText); }
    Log log;
    void (*onBox)() = nullptr;
};

class EngineServices : public SessionServices {
public:
    void HotScreenEvaluate() override { ::HotScreenEvaluate(); }
    void HotScreenReload(const char* file) override { ::HotScreenReload(file); }
};

class HotScreen : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpTerminal(TermFeedSetup{}));
        InstallHostCommandHooks();
        Rec->EnableHotspots = 1;
        SetButtonView(&buttons);
        SetHotScreenHost(&host);
        SetSessionServices(&services);
        SetProfiles(&profile);
        TitleText.clear();
    }
    void TearDown() override
    {
        HotScreenFree();
        HotScreenFileName.clear();
        DynButtonMap.clear();
        SetButtonView(nullptr);
        SetHotScreenHost(nullptr);
        SetSessionServices(nullptr);
        SetProfiles(nullptr);
        TitleText.clear();
    }
    // Loads the rule file's text (a "[HotScreen]" section is put before it).
    void Rules(const std::string& text, const char* file = "rules.hot")
    {
        profile.ServeFromMemory(file, text);
        HotScreenFree();
        HotScreenLoad(file);
    }
    // Host data: the screen is cleared first when `clear`.
    static void Screen(const std::string& bytes, bool clear = true)
    {
        const std::string all = (clear ? "\x1b[2J\x1b[H" : "") + bytes;
        FeedTerminal(reinterpret_cast<const uint8_t*>(all.data()), all.size(), 0);
    }
    static std::vector<std::string> Buttons() { return DynButtonNames(); }
    static std::string Active() { return ActiveHotScreen ? ActiveHotScreen->name : "-"; }

    RecordingButtons buttons;
    RecordingHost host;
    EngineServices services;
    NativeProfile profile;
};

// Row 1 "MENU  main", row 2 "   first word", row 3 blank, row 24 ends "END".
void DrawTestScreen()
{
    const std::string bytes = "\x1b[2J\x1b[HMENU  main\r\n   first word\x1b[24;78HEND";
    FeedTerminal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
}

TEST_F(HotScreen, ScreenMacros)
{
    DrawTestScreen();
    const struct { const char* text; const char* expanded; } cases[] = {
        {"[%scr1,1,4%]", "[MENU]"},
        {"%scr1;1;4%", "MENU"},                // any one character apart
        {"%txt1,2,0%!", "first!"},             // leading blanks skipped, up to the first blank
        {"%scr1,2,0%!", "!"},                  // length 0 stops at the first blank
        {"%scr5,99,3%", "  m"},                // row 99 reads row 1
        {"%scr99,1,4%", "MENU"},               // so does a column past the screen
        {"%scr78,24,10%|", "END|"},            // cut at the screen's end
        {"%scr1,1,2147483647%", nullptr},      // the whole screen from there, no further
        {"a  %txt1,3,5%", "a"},                // %txt trims the whole result so far
        {"x%scr1,1,4 no closing", "xMENU"},    // the rest of the text is the macro's
        {"%scr1,2%", "1,2%"},                  // unreadable: the name goes, the rest stays
        {"%scrX%txt", "%scrX%txt"},            // no digit: no macro
        {"%scr0,1,3%y", "y"},                  // column, row or length out of the screen: nothing
        {"%scr1,-1,3%y", "y"},
        {"%scr1,1,-2%y", "y"},
        {"%u32fld,1,1,0%z", "z"},              // no 3270 buffer: no fields
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string got = ExpandScreenMacros(c.text);
        if (c.expanded) EXPECT_EQ(c.expanded, got);
        else EXPECT_EQ(80u * 24u, got.size());
    }
    EXPECT_EQ(' ', ScreenCharAt(-1));
    EXPECT_EQ(' ', ScreenCharAt(80 * 24));
    Rec->CharsScreen[100] = 0;
    EXPECT_EQ(' ', ScreenCharAt(100));
}

TEST_F(HotScreen, Conditions)
{
    DrawTestScreen();
    const std::string tooLong(81, 'x');
    const struct { int col, row; const char* text; int condition, type; bool holds; } cases[] = {
        {1, 1, "MENU", 1, 0, true},
        {2, 1, "MENU", 1, 0, false},
        {2, 1, "MENU", 0, 0, true},     // fixed cell, expected absent
        {1, 1, "", 1, 0, true},         // an empty text is always there
        {0, 1, "main", 1, 0, true},     // searched along row 1
        {0, 2, "main", 1, 0, false},
        {0, 1, "MENU", 0, 0, true},     // absent at some position of the row: holds
        {0, 0, "word", 1, 0, true},     // the whole screen
        {4, 0, "first", 1, 0, true},    // column 4 of every row
        {5, 0, "first", 1, 0, false},
        {0, 1, tooLong.c_str(), 0, 0, false},  // longer than the row: no position
        {81, 1, "M", 0, 0, false},      // outside the screen: fails whatever it expects
        {1, 25, "M", 0, 0, false},
        {-1, 1, "M", 0, 0, false},
        {78, 24, "END!", 0, 0, false},  // runs past the screen's end: fails as well
        {1, 1, "C0", 0, 1, false},      // field attributes outside 3270 mode never hold
        {1, 1, "C0", 1, 2, false},
        {1, 1, "MENU", 1, 7, false},    // an unknown type never holds
        {1, 1, "MENU", 0, 7, false},
    };
    for (const auto& c : cases) {
        ScreenCondition condition;
        condition.col = c.col;
        condition.row = c.row;
        condition.string = c.text;
        condition.condition = c.condition;
        condition.type = c.type;
        SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row) + " " + c.text);
        EXPECT_EQ(c.holds, condition.Holds());
    }
    // Across the end of a row in the whole-screen search.
    Screen("\x1b[1;79Hwrap");
    ScreenCondition across;
    across.col = across.row = 0;
    across.string = "wrap";
    EXPECT_TRUE(across.Holds());
    across.row = 1;
    EXPECT_FALSE(across.Holds());
}

TEST_F(HotScreen, RuleFileReadBoundedAndWithDefaults)
{
    const std::string longName(30, 'n');
    Rules("[HotScreen]\r\nnames=one  \t two " + longName + "xy missing\r\ndynamic=TRUEly\r\n"
          "[one]\r\ntitle=T1\r\nflags=zz\r\nmatch=a " + longName + "\r\nbutton=b c\r\naction=x\r\n"
          "[onea]\r\nstring=MENU\r\ncol=-\r\n"
          "[oneb]\r\ncontents=B1\r\nparam2=9\r\nrow=4\r\nwidth=x\r\ndefault=true\r\nclick_l=go\r\n"
          "[onec]\r\nparam3=7\r\n"
          "[onex]\r\naction=" + std::string(2000, 'v') + "\r\ntype=99999999999\r\n"
          "[two]\r\ndynamic=tru\r\n");
    EXPECT_EQ(1, HotScreenDynamic);
    ASSERT_EQ(3u, HotScreenList.size());  // the 32-character name is refused
    const HotScreenDef& one = *HotScreenList[0];
    EXPECT_EQ("T1", one.title);
    EXPECT_EQ(0, one.flags);  // not a number: the default
    ASSERT_EQ(1u, one.conditions.size());  // "one" + 30 characters does not fit
    EXPECT_EQ(1, one.conditions[0].col);
    EXPECT_EQ(1, one.conditions[0].row);
    EXPECT_EQ(1, one.conditions[0].condition);
    ASSERT_EQ(2u, one.buttons.size());
    const int first[12] = {1, 9, 4, 1, 1, 0, 0, 0, 2, 1, 0, 0};
    const int second[12] = {1, 9, 7, 1, 1, 0, 0, 0, 2, 1, 0, 0};  // the first one is the template
    EXPECT_TRUE(std::equal(first, first + 12, one.buttons[0].params));
    EXPECT_TRUE(std::equal(second, second + 12, one.buttons[1].params));
    EXPECT_EQ("B1", one.buttons[1].contents);
    EXPECT_EQ("go", one.buttons[1].click_l);
    ASSERT_EQ(1u, one.actions.size());
    EXPECT_EQ(1023u, one.actions[0].action.size());
    EXPECT_EQ(INT_MAX, one.actions[0].type);
    EXPECT_EQ(0, HotScreenList[1]->dynamic);
    EXPECT_EQ("missing", HotScreenList[2]->name);  // no section: defaults, matches everything

    // A missing file: no sets, no message.
    HotScreenFree();
    HotScreenLoad("nowhere.hot");
    EXPECT_TRUE(HotScreenList.empty());
    EXPECT_EQ(0, HotScreenDynamic);
}

TEST_F(HotScreen, HostileRuleFileLoadsBounded)
{
    std::string names, match;
    for (int i = 0; i < 400; ++i) names += " s";
    for (int i = 0; i < 400; ++i) match += " m";
    Rules("[HotScreen]\r\nnames=" + names + "\r\n[s]\r\nmatch=" + match + "\r\naction=" + match +
          "\r\n[sm]\r\nmatch=" + match + "\r\n");
    std::size_t elements = 0;
    for (const auto& set : HotScreenList) {
        elements += 1 + set->conditions.size() + set->actions.size();
        for (const auto& a : set->actions) elements += a.conditions.size();
    }
    EXPECT_LE(elements, 4096u);
    EXPECT_FALSE(HotScreenList.empty());
}

const char kThreeScreens[] =
    "[HotScreen]\r\nnames=menu form other\r\n"
    "[menu]\r\ntitle=menu of %txt7,1,0%\r\nflags=1\r\ndynamic=true\r\nmatch=m\r\nbutton=one two\r\n"
    "[menum]\r\nstring=MENU\r\n"
    "[menuone]\r\ncontents=%scr1,2,20%\r\nclick_l=1\\r\r\n"
    "[menutwo]\r\ncontents=Two\r\nmatch=c\r\n"
    "[menutwoc]\r\nstring=CHOICE\r\ncol=0\r\nrow=0\r\n"
    "[form]\r\ntitle=form\r\nflags=1\r\nmatch=f\r\nbutton=save\r\n"
    "[formf]\r\nstring=FORM\r\n"
    "[formsave]\r\ncontents=Save\r\n"
    "[other]\r\ntitle=other\r\nflags=0\r\n";

TEST_F(HotScreen, ActiveSetFollowsTheScreenWithTitleAndButtons)
{
    Rules(kThreeScreens);
    Screen("MENU  main\r\nA;hotZ;x;evil");
    EXPECT_EQ("menu", Active());
    EXPECT_EQ("menu of main", TitleText);
    EXPECT_EQ((std::vector<std::string>{"hotA"}), Buttons());
    // Screen text with ';' stays the button's text: it names nothing and sets no action.
    const DynButton& a = *DynButtonMap.at("hotA");
    EXPECT_EQ("A;hotZ;x;evil       ", a.text);
    EXPECT_EQ("1\\r", a.clickLeft);
    EXPECT_EQ("", a.clickRight);

    // The button's own condition (the set is dynamic, so it is looked at again with every block):
    // made and removed while the set stays active; hotA is made once.
    DynButtonMap.at("hotA")->text = "kept";
    Screen("\x1b[5;1HCHOICE", false);
    EXPECT_EQ((std::vector<std::string>{"hotA", "hotB"}), Buttons());
    EXPECT_EQ("kept", DynButtonMap.at("hotA")->text);
    Screen("\x1b[5;1H\x1b[2K", false);
    EXPECT_EQ((std::vector<std::string>{"hotA"}), Buttons());
    Screen("\x1b[5;1HCHOICE", false);
    EXPECT_EQ((std::vector<std::string>{"hotA", "hotB"}), Buttons());

    // Another set: the old title and buttons go before the new ones come.
    host.log.clear();
    Screen("FORM");
    EXPECT_EQ("form", Active());
    EXPECT_EQ((Log{"title:", "title:form"}), host.log);
    EXPECT_EQ((std::vector<std::string>{"hotA"}), Buttons());
    EXPECT_EQ("Save", DynButtonMap.at("hotA")->text);

    // A set without conditions matches whatever else is shown; without flag bit 0 no title.
    host.log.clear();
    Screen("anything");
    EXPECT_EQ("other", Active());
    EXPECT_EQ((Log{"title:"}), host.log);
    EXPECT_TRUE(Buttons().empty());
}

TEST_F(HotScreen, DynamicSetsAndTheDynamicKey)
{
    Rules("[HotScreen]\r\nnames=clock menu\r\n"
          "[clock]\r\ntitle=%txt1,2,0%\r\nflags=1\r\ndynamic=true\r\nmatch=c\r\naction=say\r\n"
          "[clockc]\r\nstring=CLOCK\r\n"
          "[clocksay]\r\naction=%scr1,2,5%\r\ntype=2\r\n"
          "[menu]\r\nmatch=m\r\n[menum]\r\nstring=MENU\r\n");
    Screen("CLOCK\r\n10:00");
    Screen("\x1b[2;1H10:01", false);
    EXPECT_EQ("10:01", TitleText);
    EXPECT_EQ((Log{"title:10:00", "box::10:00", "title:10:01", "box::10:01"}), host.log);
    // No set matches: the set is no longer active.
    Screen("nothing");
    EXPECT_EQ("-", Active());

    // With the key "dynamic" the active set stays while none matches, and the first match in
    // file order always wins.
    Rules("[HotScreen]\r\nnames=a b\r\ndynamic=true\r\n"
          "[a]\r\nmatch=x\r\n[ax]\r\nstring=A\r\ncol=0\r\nrow=0\r\n"
          "[b]\r\nmatch=x\r\n[bx]\r\nstring=B\r\ncol=0\r\nrow=0\r\n");
    Screen("B");
    EXPECT_EQ("b", Active());
    Screen("nothing");
    EXPECT_EQ("b", Active());
    Screen("B A");
    EXPECT_EQ("a", Active());
    // Without the key, the active set keeps its place while it still matches.
    Rules("[HotScreen]\r\nnames=a b\r\n"
          "[a]\r\nmatch=x\r\n[ax]\r\nstring=A\r\ncol=0\r\nrow=0\r\n"
          "[b]\r\nmatch=x\r\n[bx]\r\nstring=B\r\ncol=0\r\nrow=0\r\n");
    Screen("B");
    Screen("B A");
    EXPECT_EQ("b", Active());
}

TEST_F(HotScreen, Actions)
{
    Rules("[HotScreen]\r\nnames=s\r\n[s]\r\nmatch=m\r\n"
          "action=input poke noservice notopic noitem box odd skip\r\n"
          "[sm]\r\nstring=GO\r\n"
          "[sinput]\r\naction=<esc>[3;1HFED %scr1,1,2%\r\n"
          "[spoke]\r\naction=Srv;Topic;Item;data;with;more\r\ntype=1\r\n"
          "[snoservice]\r\naction=;t;i;d\r\ntype=1\r\n"
          "[snotopic]\r\naction=s;;i;d\r\ntype=1\r\n"
          "[snoitem]\r\naction=s;t\r\ntype=1\r\n"
          "[sbox]\r\naction=Box %scr1,1,2%\r\ntype=2\r\n"
          "[sodd]\r\naction=odd %scr1,1,2%\r\ntype=5\r\n"
          "[sskip]\r\naction=never\r\ntype=2\r\nmatch=no\r\n"
          "[sskipno]\r\nstring=NO\r\n");
    Screen("GO");
    EXPECT_EQ((Log{"feed:\x1b[3;1HFED GO", "poke:Srv|Topic|Item|data;with;more|15",
                   "box:DDE Error:Service Name Was Null", "box:DDE Error:Topic Name Was Null",
                   "box:DDE Error:Item Name Was Null", "box::Box GO",
                   "box:(default):Action \"odd %scr1,1,2%\" has invalid type 5"}),
              host.log);
    // The input was interpreted as host data.
    EXPECT_EQ("FED GO", ExpandScreenMacros("%scr1,3,6%"));
}

TEST_F(HotScreen, EmulatorInputIsCutAtAWholeToken)
{
    uint8_t bytes[1000];
    EXPECT_EQ(1000, DecodeActionInput(std::string(1200, 'a'), bytes, 1000));
    // 999 characters and then ESC [: the escape's token does not fit whole.
    const std::string text = std::string(999, 'a') + "<esc 5b>b";
    EXPECT_EQ(999, DecodeActionInput(text, bytes, 1000));
    EXPECT_EQ(3, DecodeActionInput("^a<esc>\\x", bytes, 1000));
    EXPECT_EQ(1, bytes[0]);
    EXPECT_EQ(0x1b, bytes[1]);
    EXPECT_EQ('x', bytes[2]);
}

TEST_F(HotScreen, OwnInputRunsADynamicSetsActionsOncePerBlock)
{
    // The action's input keeps the screen matching: without a guard the set would re-activate
    // itself from inside its own activation for ever.
    Rules("[HotScreen]\r\nnames=loop next\r\n"
          "[loop]\r\ndynamic=true\r\nmatch=m\r\naction=again\r\n[loopm]\r\nstring=LOOP\r\n"
          "[loopagain]\r\naction=<esc>[2;1Hx\r\n"
          "[next]\r\nmatch=m\r\naction=say\r\n[nextm]\r\nstring=NEXT\r\n"
          "[nextsay]\r\naction=seen\r\ntype=2\r\n");
    Screen("LOOP");
    EXPECT_EQ((Log{"feed:\x1b[2;1Hx"}), host.log);
    Screen("LOOP");
    EXPECT_EQ((Log{"feed:\x1b[2;1Hx", "feed:\x1b[2;1Hx"}), host.log);

    // Input that changes the screen to another set's: that set is evaluated after the first.
    Rules("[HotScreen]\r\nnames=first next\r\n"
          "[first]\r\nmatch=m\r\naction=go\r\n[firstm]\r\nstring=FIRST\r\n"
          "[firstgo]\r\naction=<esc>[HNEXT!\r\n"
          "[next]\r\nmatch=m\r\naction=say\r\n[nextm]\r\nstring=NEXT\r\n"
          "[nextsay]\r\naction=seen\r\ntype=2\r\n");
    host.log.clear();
    Screen("FIRST");
    EXPECT_EQ((Log{"feed:\x1b[HNEXT!", "box::seen"}), host.log);
    EXPECT_EQ("next", Active());
}

TEST_F(HotScreen, ReloadArrivingDuringAnEvaluationWaitsForItsEnd)
{
    profile.ServeFromMemory("second.hot", "");
    // The action's input carries host command 26 naming another file: the set being activated
    // is not freed under it; the reload follows, with the old title and buttons gone first.
    Rules("[HotScreen]\r\nnames=s\r\n[s]\r\ntitle=old\r\nflags=1\r\nbutton=b\r\naction=reload after\r\n"
          "[sb]\r\ncontents=B\r\n"
          "[sreload]\r\naction=<esc>[26ynext.hot<esc>\\\\\r\n"
          "[safter]\r\naction=still here\r\ntype=2\r\n");
    profile.ServeFromMemory("next.hot", "[HotScreen]\r\nnames=n\r\n[n]\r\ntitle=new\r\nflags=1\r\n");
    host.log.clear();
    Screen("x");
    EXPECT_EQ((Log{"title:old", "feed:\x1b[26ynext.hot\x1b\\", "box::still here", "title:", "title:new"}), host.log);
    EXPECT_EQ("n", Active());
    EXPECT_EQ("next.hot", HotScreenFileName);
    EXPECT_TRUE(Buttons().empty());

    // A reload of the remembered file (an empty name), as "%hotload%" and command 26 without a
    // text do.
    host.log.clear();
    HotScreenReload("");
    EXPECT_EQ((Log{"title:", "title:new"}), host.log);

    // Rules that load themselves from their own action: the chain of loads ends.
    profile.ServeFromMemory("self.hot", "[HotScreen]\r\nnames=s\r\n[s]\r\naction=a\r\n"
                                        "[sa]\r\naction=<esc>[26yself.hot<esc>\\\\\r\n");
    host.log.clear();
    HotScreenReload("self.hot");
    EXPECT_EQ(9, std::count_if(host.log.begin(), host.log.end(), [](const std::string& e) { return e.rfind("feed:", 0) == 0; }));
    EXPECT_EQ("s", Active());

    // A message box pumps messages: host data arriving then evaluates after the box.
    Rules("[HotScreen]\r\nnames=a b\r\n[a]\r\nmatch=m\r\naction=box\r\n[am]\r\nstring=A\r\n"
          "[abox]\r\naction=a\r\ntype=2\r\n"
          "[b]\r\nmatch=m\r\naction=box\r\n[bm]\r\nstring=B\r\n[bbox]\r\naction=b\r\ntype=2\r\n");
    host.onBox = [] { Screen("B"); };
    host.log.clear();
    Screen("A");
    host.onBox = nullptr;
    EXPECT_EQ("b", Active());
}

TEST_F(HotScreen, ButtonNamesRunPastZButNeverRepeat)
{
    std::string names, sections;
    for (int i = 0; i < 200; ++i) {
        names += " b" + std::to_string(i);
        sections += "[sb" + std::to_string(i) + "]\r\ncontents=x\r\n";
    }
    Rules("[HotScreen]\r\nnames=s\r\n[s]\r\nbutton=" + names + "\r\n" + sections);
    ASSERT_EQ(1u, HotScreenList.size());
    EXPECT_EQ(static_cast<std::size_t>(kHotButtonNames), HotScreenList[0]->buttons.size());
    Screen("x");
    EXPECT_EQ(static_cast<std::size_t>(kHotButtonNames), DynButtonMap.size());
    EXPECT_EQ(1u, DynButtonMap.count(std::string("hot") + '['));
    EXPECT_EQ(1u, DynButtonMap.count(std::string("hot") + '\xff'));
}

// A 3270 screen from the 3270 engine: field-attribute conditions and the field macros.
class HotScreen3270 : public HotScreen {
protected:
    void SetUp() override
    {
        HotScreen::SetUp();
        Rec->TerminalFamily3270 = 1;
        Rec->Charset3270 = 5;
        Rec->Terminal3270 = 16;
        Load3270State();
        Set3270Geometry(24, 80);
        Tn3270State.AltRows3270 = 24;
        Tn3270State.AltColumns3270 = 80;
        Init3270Screen();
        Tn3270Hooks.hotScreenEvaluate = [] { Services().HotScreenEvaluate(); };
    }
    void TearDown() override
    {
        Tn3270Hooks = Default3270OutsideHooks();
        HotScreen::TearDown();
    }
    static void Record(const std::string& hex)
    {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Parse3270Hex(hex, bytes)) << hex;
        Process3270Stream(nullptr, bytes.data(), static_cast<int>(bytes.size()), 1);
    }
};

TEST_F(HotScreen3270, FieldConditionsAndFieldMacros)
{
    // Row 1: protected "NAME", unprotected "ann", protected "CITY", unprotected "rome", then
    // row 2 starts protected.
    Record("F5 C3 11 40 40 1D 60 'NAME' 1D 40 'ann' 1D 60 'CITY' 1D 40 'rome' 11 C1 50 1D 60 'NEXT'");
    const std::string blanks(61, ' ');
    const struct { const char* text; std::string expanded; } cases[] = {
        {"%u32fld,1,1,0%", "ann,rome" + blanks},  // the last field's nulls up to the row's end
        {"%p32fld/1,1,14%", "NAME/CITY"},
        {"%p32fld/1,1,9%", "NAME"},                // the walk ends at the range's end
        {"%u32fld1,1,0%", "annrome" + blanks},     // a digit after the name: no separator
        {"%u32fld,1,2,0%", ""},                     // row 2 holds no unprotected field
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expanded, ExpandScreenMacros(c.text));
    }
    ScreenCondition attribute;
    attribute.type = 1;
    attribute.string = "e0";
    EXPECT_TRUE(attribute.Holds());       // the attribute cell at row 1, column 1
    attribute.string = "160";             // the low 8 bits count, and the stored attribute has
    EXPECT_FALSE(attribute.Holds());      // the marker bits as well
    attribute.type = 2;
    attribute.string = "20";
    EXPECT_TRUE(attribute.Holds());
    attribute.col = 2;                    // no attribute in the cell
    EXPECT_FALSE(attribute.Holds());

    // Each host record evaluates the rules.
    Rules("[HotScreen]\r\nnames=n\r\n[n]\r\ntitle=%u32fld-1,1,0%\r\nflags=1\r\nmatch=m\r\n[nm]\r\nstring=NAME\r\ncol=2\r\n");
    Record("F1 C3 11 40 40 1D 60 'NAME' 1D 40 'bob'");
    EXPECT_EQ("n", Active());
}

}  // namespace
