#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "automation_fakes.h"
#include "connections/variable_expander.h"

namespace {

class ExpanderTest : public AutomationTest {
protected:
    void SetUp() override {
        AutomationTest::SetUp();
#ifdef _WIN32
        _putenv("TOLVI_TEST_VAR=value");
#else
        setenv("TOLVI_TEST_VAR", "value", 1);
#endif
    }
    std::string Expand(const std::string& text, std::size_t size = 256) {
        std::string output(size + 8, '#');
        ExpandVariables(text.c_str(), &output[0], size);
        return output.substr(0, std::strlen(output.c_str()));
    }
};

TEST_F(ExpanderTest, EveryVariable) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"plain text", "plain text"},
        {"100%%", "100%"},
        {"50%", "50%"},
        {"[%TOLVI_TEST_VAR%]", "[value]"},
        {"[%NO_SUCH_VARIABLE_X%]", "[NO_SUCH_VARIABLE_X]"},
        {"a%NO_SUCH rest", "aNO_SUCH rest"},  // no closing sign: the rest is the name
        {"%terminal%", "vt220"},
        {"%TERMINAL%", "vt220"},
        {"%pluser%", "alice"},
        {"%PLUSER%", "Alice"},
        {"%Pluser%", "Alice"},
        {"%plmach%", "pc-one"},
        {"%PlMach%", "PC-ONE"},
        {"%hostname%", "host.example"},
        {"<esc>[%row%;%COL%H", "<esc>[5;7H"},
        {"%hwnd%", "4660"},
        {"%pin%", "<cr>"},  // cancelled
        {"%cdestination%1,1,80,24", "4,2,640,384"},
        {"%cdestination% x=0x2 y=010 w=3 h=4 tail", " x=12 y=114 w=24 h=64 tail"},
        {"%cdestination%2,3%terminal% 9", "12,34vt220 9"},  // fewer than four numbers
        {"%cdestination%", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
}

TEST_F(ExpanderTest, PinAndWaits) {
    automationView.pin = "1234";
    EXPECT_EQ(Expand("%pin%"), "1234<cr>");
    EventLog().clear();
    EXPECT_EQ(Expand("a%w1%b%W5%c%w10%d"), "abcd");
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"delay:1000", "delay:5000", "delay:10000"}));
}

TEST_F(ExpanderTest, NamesThePlatformCannotTell) {
    names.user = nullptr;
    names.machine = nullptr;
    automationView.userName = "Bobby-The-Long";
    EXPECT_EQ(Expand("%PLMACH%"), "%PLMACH%");
    EXPECT_EQ(Expand("%PLUSER%"), "Bobby-The");  // the prompt's answer, cut to 9 characters
    EXPECT_EQ(Expand("%pluser%"), "bobby-the");
    EXPECT_EQ(automationView.userNameAsked, 1);  // asked once per process
}

TEST_F(ExpanderTest, CancelledUserNamePromptAsksAgain) {
    names.user = nullptr;
    EXPECT_EQ(Expand("[%pluser%]"), "[]");
    automationView.userName = "carol";
    EXPECT_EQ(Expand("[%pluser%]"), "[carol]");
    EXPECT_EQ(automationView.userNameAsked, 2);
}

TEST_F(ExpanderTest, OverlongNameIsCopiedAsWritten) {
    std::string name(100, 'A');
    EXPECT_EQ(Expand("x%" + name + "%y"), "x%" + name + "%y");
    EXPECT_EQ(Expand("x%" + name), "x%" + name);
    std::string longest(79, 'B');
    EXPECT_EQ(Expand("%" + longest + "%"), longest);  // still looked up, and not found
}

// Every output size: the output is the start of the full expansion, terminated, never longer.
TEST_F(ExpanderTest, OutputIsCutToTheBuffer) {
    const std::string text = "id %PLUSER%@%plmach% on %terminal% %cdestination%1,1,80,24 100%%";
    const std::string full = Expand(text);
    ASSERT_EQ(full, "id Alice@pc-one on vt220 4,2,640,384 100%");
    for (std::size_t size = 1; size <= full.size() + 2; ++size) {
        std::string output(size + 8, '#');
        std::size_t stopped = ExpandVariables(text.c_str(), &output[0], size);
        EXPECT_EQ(output.c_str(), full.substr(0, size - 1)) << size;
        EXPECT_EQ(output[size], '#') << size;
        EXPECT_LE(stopped, text.size());
    }
    char untouched = '#';
    EXPECT_EQ(ExpandVariables(text.c_str(), &untouched, 0), 0u);
    EXPECT_EQ(untouched, '#');
}

TEST_F(ExpanderTest, SendExpandedDecodesAndSends) {
    EXPECT_EQ(SendExpanded(nullptr, "%terminal%<cr>", true), 6);
    EXPECT_EQ(transport.sent, "vt220\r");
    transport.sent.clear();
    Rec->ControlChar = 2;
    SendExpanded(nullptr, "<esc>[A", false);
    EXPECT_EQ(transport.sent, "\x9b" "A");
    transport.sent.clear();
    EXPECT_EQ(SendExpanded(nullptr, "", true), 0);
    EXPECT_TRUE(EventLog().end() == std::find(EventLog().begin(), EventLog().end(), "send:"));
}

}  // namespace
