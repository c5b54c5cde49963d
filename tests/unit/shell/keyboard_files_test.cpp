// The shipped keyboard files against the terminals themselves: for every character terminal type,
// each key capability that terminfo (`infocmp -1`) gives is what the PC key sends through our
// .key and .map files, pressed through the view's keyboard handler in the keypad and cursor modes
// the terminal's "keypad transmit" string sets. The 3270 keyboard sends the keyboard functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "fake_keyboard_system.h"
#include "fake_prompts.h"
#include "connections/auto_login.h"
#include "engine/ibm3270/3270keyb.h"
#include "shell/key_data_files.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

constexpr int kShift = 0x200, kCtrl = 0x400;

std::string ReadDataFile(const std::string& name)
{
    std::ifstream in(std::string(TOLVI_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The string capabilities of a terminal type, unescaped.
std::map<std::string, std::string> TerminfoStrings(const std::string& type)
{
    std::map<std::string, std::string> caps;
    FILE* pipe = popen(("infocmp -1 " + type + " 2>/dev/null").c_str(), "r");
    if (!pipe) return caps;
    char line[1024];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        const size_t start = text.find_first_not_of(" \t");
        const size_t equals = text.find('=');
        if (start == std::string::npos || text[0] != '\t' || equals == std::string::npos) continue;
        std::string value;
        for (size_t i = equals + 1; i < text.size() && text[i] != ','; ++i) {
            char c = text[i];
            if (c == '^' && i + 1 < text.size()) {
                c = text[++i];
                value += c == '?' ? '\x7f' : static_cast<char>(c & 0x1F);
            } else if (c == '\\' && i + 1 < text.size()) {
                c = text[++i];
                switch (c) {
                case 'E': case 'e': value += '\x1b'; break;
                case 'n': case 'l': value += '\n'; break;
                case 'r': value += '\r'; break;
                case 't': value += '\t'; break;
                case 'b': value += '\b'; break;
                case 'f': value += '\f'; break;
                case 's': value += ' '; break;
                default:
                    if (c >= '0' && c <= '7') {
                        int code = 0;
                        for (int n = 0; n < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n)
                            code = code * 8 + (text[i++] - '0');
                        --i;
                        value += static_cast<char>(code == 0 ? 0x80 : code);
                    } else {
                        value += c;  // \\ \^ \, \:
                    }
                }
            } else {
                value += c;
            }
        }
        caps[text.substr(start, equals - start)] = value;
    }
    pclose(pipe);
    return caps;
}

// The PC key (key code) that stands for a key capability; 0 for a capability not checked.
int PcKeyOf(const std::string& cap)
{
    static const std::map<std::string, int> keys = {
        {"kcuu1", 0x126}, {"kcud1", 0x128}, {"kcub1", 0x125}, {"kcuf1", 0x127},
        {"khome", 0x124}, {"kend", 0x123}, {"kich1", 0x12D}, {"kdch1", 0x12E},
        {"kpp", 0x121}, {"knp", 0x122}, {"kbs", 0x08}, {"kcbt", kShift | 0x09},
        // the numeric keypad with Num Lock off
        {"ka1", 0x24}, {"ka3", 0x21}, {"kb2", 0x0C}, {"kc1", 0x23}, {"kc3", 0x22}, {"kent", 0x10D},
    };
    const auto found = keys.find(cap);
    if (found != keys.end()) return found->second;
    if (cap.size() > 2 && cap.compare(0, 2, "kf") == 0 && cap.find_first_not_of("0123456789", 2) == std::string::npos) {
        const int n = std::stoi(cap.substr(2));
        if (n < 1 || n > 48) return 0;
        static const int banks[] = {0, kShift, kCtrl, kShift | kCtrl};  // F13-F24 are Shift+F1-F12, ...
        return banks[(n - 1) / 12] | (0x70 + (n - 1) % 12);
    }
    return 0;
}

class KeyboardFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->Charset = 3;
        AutoLoginPair = 0;
        SetIdentityTables(SessionTranslateTables);
    }

    void Load(const std::string& keyFile, const std::string& mapFile)
    {
        sys.defs.RemoveAllDefs();
        sys.map.RemoveAllKeys();
        ReadKeyDefText(ReadDataFile(keyFile), sys.defs);
        ReadKeyMapText(ReadDataFile(mapFile), sys.map);
        ASSERT_TRUE(prompts.asked.empty()) << keyFile << " / " << mapFile << ": " << prompts.asked[0].text;
        ASSERT_GT(sys.map.GetCount(), 0u) << mapFile;
    }

    // What pressing the key sends to the host.
    std::string Press(int code)
    {
        sys.keys = ModifierKeys{(code & kShift) != 0, (code & kCtrl) != 0, (code & 0x800) != 0, false};
        sys.log.clear();
        input.HandleKeyDown(code & 0xFF, 1, code & kKeyFlagExtended);
        std::string sent;
        for (const auto& event : sys.log)
            if (event.compare(0, 5, "send ") == 0) sent += event.substr(5);
        return sent;
    }

    FakePrompts prompts;
    ScopedPrompts scopedPrompts{prompts};
    FakeKeyboardSystem sys;
    KeyboardInput input{sys};
};

std::string Visible(const std::string& bytes)
{
    std::string out;
    char hex[8];
    for (unsigned char c : bytes) {
        if (c < 0x20 || c >= 0x7F) {
            std::snprintf(hex, sizeof hex, "<%02x>", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

TEST_F(KeyboardFiles, EveryTerminfoKeyOfEachTerminalIsWhatItsPcKeySends)
{
    const std::vector<std::string> decMaps = {"zldec.map", "zldecsco.map", "zldecdec.map", "zldeclin.map", "zldectm2.map"};
    const struct {
        const char* type;
        const char* keyFile;
        std::vector<std::string> maps;
        std::map<std::string, int> moved;   // capabilities that sit on another PC key here
        std::set<std::string> skipped;      // and the ones a shared file cannot give (see below)
    } terminals[] = {
        // A vt100 has PF1-PF4 only: terminfo names its keypad keys kf0 and kf5-kf10, and its
        // ka1..kc3 follow no keypad layout.
        {"vt100", "zldec.key", decMaps, {},
         {"kf0", "kf5", "kf6", "kf7", "kf8", "kf9", "kf10", "ka1", "ka3", "kb2", "kc1", "kc3"}},
        {"vt220", "zldec.key", decMaps, {}, {}},
        // One DEC keyboard serves vt100, vt220 and vt320: its Backspace sends BS as the first
        // two say; a vt320 entry wants DEL.
        {"vt320", "zldec.key", decMaps, {}, {"kbs"}},
        // The Wyse Send key (keypad Enter here) sits on Ctrl+keypad Enter, keeping Enter a CR.
        {"wy50", "zlwyse.key", {"zlwyse.map"}, {{"kent", kCtrl | 0x10D}}, {}},
        {"wy60", "zlwyse.key", {"zlwyse.map"}, {{"kent", kCtrl | 0x10D}}, {}},
        // The Viewpoint's first function key is kf0 in terminfo.
        {"viewpoint", "zladds.key", {"zladds.map"}, {{"kf0", 0x70}}, {}},
        {"scoansi", "zlsco.key", {"zlsco.map"}, {}, {}},
        {"ansi", "zlsco.key", {"zlsco.map"}, {}, {}},
        {"at386", "zlatt.key", {"zlatt.map"}, {}, {}},
        {"dumb", "zldumb.key", {"zldumb.map"}, {}, {}},
    };
    for (const auto& t : terminals) {
        const auto caps = TerminfoStrings(t.type);
        if (caps.empty() && std::string(t.type) == "vt320") continue;  // not in every ncurses
        ASSERT_FALSE(caps.empty()) << "infocmp knows no " << t.type;
        const auto smkx = caps.count("smkx") ? caps.at("smkx") : std::string();
        for (const auto& mapFile : t.maps) {
            Load(t.keyFile, mapFile);
            Rec->AppCursorKeys = smkx.find("\x1b[?1h") != std::string::npos ? 1 : 2;
            Rec->AppKeypad = smkx.find("\x1b=") != std::string::npos ? 1 : 2;
            int checked = 0;
            for (const auto& [cap, bytes] : caps) {
                if (t.skipped.count(cap)) continue;
                const auto moved = t.moved.find(cap);
                const int key = moved != t.moved.end() ? moved->second : PcKeyOf(cap);
                if (key == 0) continue;
                ++checked;
                EXPECT_EQ(Visible(Press(key)), Visible(bytes))
                    << t.type << " " << cap << " (PC key " << std::hex << key << ") with " << mapFile;
            }
            if (std::string(t.type) != "dumb") {
                EXPECT_GT(checked, 4) << t.type;
            }
        }
    }
}

TEST_F(KeyboardFiles, DecKeypadAndCursorKeysFollowTheHostsModes)
{
    Load("zldec.key", "zldeclin.map");
    const struct { int appCursor, appKeypad, key; const char* sends; } cases[] = {
        {2, 2, 0x126, "\x1b[A"}, {1, 2, 0x126, "\x1bOA"},   // cursor Up, normal and application
        {2, 2, 0x26, "\x1b[A"}, {2, 1, 0x26, "\x1bOx"},     // keypad 8 with Num Lock off
        {2, 2, 0x10D, "\r"}, {2, 1, 0x10D, "\x1bOM"},       // keypad Enter
        {2, 1, 0x6D, "\x1bOS"}, {2, 2, 0x190, "\x1bOP"},    // keypad minus is PF4, Num Lock PF1
        {2, 2, 0x74, "\x1b[15~"}, {2, 2, 0x7B, "\x1b[24~"}, // F5, F12
        {2, 2, kShift | 0x77, "\x1b[34~"},                  // Shift+F8 is F20
    };
    for (const auto& c : cases) {
        Rec->AppCursorKeys = c.appCursor;
        Rec->AppKeypad = c.appKeypad;
        EXPECT_EQ(Visible(Press(c.key)), Visible(c.sends)) << std::hex << c.key << " " << c.appCursor << c.appKeypad;
    }
}

TEST_F(KeyboardFiles, The3270KeysRunKeyboardFunctionsThatExist)
{
    Load("zl3270.key", "zl3270.map");
    const struct { int key; const char* sends; } cases[] = {
        {0x0D, "%32enter%"}, {0x10D, "%32enter%"}, {0x13, "%32CLEAR%"}, {kShift | 0x1B, "%32CLEAR%"},
        {0x121, "%32PA1%"}, {0x122, "%32PA2%"}, {0x800 | 0x72, "%32PA3%"},
        {0x70, "%32PF1%"}, {0x7B, "%32PF12%"}, {kShift | 0x70, "%32PF13%"}, {kShift | 0x7B, "%32PF24%"},
        {0x1B, "%32reset%"}, {0x123, "%32eeof%"}, {0x800 | 0x123, "%32einp%"}, {0x12D, "%32ins%"},
        {0x12E, "%32del%"}, {0x09, "%32tab%"}, {kShift | 0x09, "%32btab%"}, {0x124, "%32home%"},
        {kShift | 0x0D, "%32nl%"}, {0x126, "%32up%"}, {0x128, "%32down%"}, {0x125, "%32left%"},
        {0x127, "%32right%"},
    };
    for (const auto& c : cases) EXPECT_EQ(Press(c.key), c.sends) << std::hex << c.key;

    // Every definition names a keyboard function of the 3270 keyboard.
    for (const auto& item : sys.defs) {
        const KeyDefEntry* entry = item.second.get();
        const std::string text = entry->GetDefinition();
        ASSERT_GE(text.size(), 5u);
        const std::string name = text.substr(3, text.size() - 4);
        bool known = false;
        for (const auto& m : Key3270Mnemonics) known |= name == std::string(m.name, m.length);
        EXPECT_TRUE(text.compare(0, 3, "%32") == 0 && text.back() == '%' && known) << entry->GetName() << ": " << text;
    }
}

TEST_F(KeyboardFiles, EveryEmulationHasItsButtonFile)
{
    for (const char* name : {"zl3270", "zlatt", "zldumb", "zladds", "zlwyse", "zldectm2", "zldecsco",
                             "zldecdec", "zldeclin", "zldec"}) {
        // Long enough that start-up does not install it again each time.
        EXPECT_GE(ReadDataFile(std::string(name) + ".but").size(), 5u) << name;
    }
}

}  // namespace
