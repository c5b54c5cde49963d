// HotScreen: rule sets that recognise host screens by their contents. A rule file (private-profile
// format, read through ProfileStore) lists the sets; each has conditions on the visible screen and,
// while it is the active set, may put a title into the window title, show screen buttons and run
// actions (text fed to the emulation as host data, a DDE poke, a message box). The rules are
// evaluated after every block of host data, so the active set follows the host's screens.
//
// Window-free: what the actions reach outside the engine goes through HotScreenHost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_types.h"

// What the rules' actions and titles reach: the emulation, DDE, message boxes and the title.
class HotScreenHost {
public:
    virtual ~HotScreenHost() = default;
    // The terminal view's window (buttons and boxes belong to it); taken at each load.
    virtual ViewWindow TerminalView() = 0;
    // Bytes for the current emulation, interpreted as if the host had sent them.
    virtual void FeedEmulation(ViewWindow window, const uint8_t* bytes, int n) = 0;
    // One DDE poke; `size` counts the data's terminating NUL.
    virtual void DdePoke(const char* service, const char* topic, const char* item, const char* data, int size) = 0;
    // A message box with an OK button owned by the view; a null caption is the system's default.
    virtual void MessageBox(ViewWindow window, const std::string& text, const char* caption) = 0;
    // Puts TitleText into the window title again.
    virtual void RefreshTitle() = 0;
};
// Installs the host (not owned). Without one: the emulation through FeedEmulation, pokes through
// DdePokeTo, boxes through the platform's messages and the title through the session document.
void SetHotScreenHost(HotScreenHost* host);

// One condition on the screen: a text at a cell (or searched for in a row, a column or the whole
// screen when col or row is 0), or a 3270 field attribute.
struct ScreenCondition {
    int col = 1, row = 1;      // 1-based; 0 = search
    std::string string;        // the text; for types 1 and 2 a hexadecimal number
    int condition = 1;         // the expected outcome
    int type = 0;              // 0 text, 1 attribute equals, 2 attribute has all bits
    bool Holds() const;
    bool TestAt(int position) const;
};
using ConditionList = std::vector<ScreenCondition>;
bool ConditionsHold(const ConditionList& conditions);

struct HotAction {
    ConditionList conditions;
    std::string action;
    int type = 0;  // 0 emulator input, 1 DDE poke, 2 message box
    void Run() const;
};

struct HotButtonDef {
    ConditionList conditions;
    int params[12] = {1, 1, 1, 1, 1, 0, 0, 0, 2, 1, 0, 0};
    std::string contents, imgformat, click_l, click_r, click_l2, click_r2;
    int created = 0;
    int flags = 0;  // bit 0: contents names a picture file
    void Update(int index);
    void Remove(int index);
};

struct HotScreenDef {
    std::string name;
    ConditionList conditions;
    std::vector<HotButtonDef> buttons;
    std::vector<HotAction> actions;
    int flags = 0;  // bit 0: the set puts its title into the window title
    std::string title;
    int dynamic = 0;
    bool Matches() const { return ConditionsHold(conditions); }
    void Activate();
    void Deactivate();
};

// The engine's state.
extern std::vector<std::unique_ptr<HotScreenDef>> HotScreenList;
extern HotScreenDef* ActiveHotScreen;
extern int HotScreenDynamic;
extern std::string HotScreenFileName;

// Reads the rule file (an empty or null name: the remembered one) and appends its sets.
void HotScreenLoad(const char* file);
// Finds the set the screen shows and makes it the active set.
void HotScreenEvaluate();
// Deactivates the active set, frees the sets, loads the file and evaluates at once.
void HotScreenReload(const char* file);
// Frees every set (the active set is forgotten, its title and buttons stay).
void HotScreenFree();

// A copy of text with the screen macros (%scr, %txt, %u32fld, %p32fld) replaced by screen text.
std::string ExpandScreenMacros(const std::string& text);
// The character of the visible screen at a 0-based row-major position; blank for a 0 cell and
// for every position outside the screen.
char ScreenCharAt(int position);

// Decodes an emulator-input text (key-string notation, plain characters as for sending) into at
// most `maximum` bytes; a token that would not fit whole ends the text. Returns the count.
int DecodeActionInput(const std::string& text, uint8_t* output, int maximum);

// The name of a rule set's button at an index ("hotA", "hotB" ...), and how many names there are.
std::string HotButtonName(int index);
constexpr int kHotButtonNames = 256 - 'A';
