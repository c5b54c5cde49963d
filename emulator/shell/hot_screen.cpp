// The HotScreen engine; see hot_screen.h.
#include "shell/hot_screen.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/dde/dde_recorder.h"
#include "connections/dde/dde_spooler.h"
#include "engine/ibm3270/field_model.h"
#include "engine/key_strings.h"
#include "engine/screen_geometry.h"
#include "host_platform.h"
#include "session/session_record.h"
#include "shell/dyn_buttons.h"
#include "shell/picture_load.h"
#include "shell/profile_store.h"
#include "shell/session_document.h"

std::vector<std::unique_ptr<HotScreenDef>> HotScreenList;
HotScreenDef* ActiveHotScreen = nullptr;
int HotScreenDynamic = 0;
std::string HotScreenFileName;

namespace {

constexpr std::size_t kValueRoom = 1024;   // values of up to 1023 characters
constexpr std::size_t kSectionRoom = 32;   // section names of up to 31 characters
constexpr int kDdeFieldLength = 30;
constexpr int kActionInputBytes = 1000;
// Every set, condition, button and action counts; a file that asks for more loads this many.
constexpr int kMostRuleElements = 4096;
// Evaluations asked for while one runs (an action's input, a message box's pumped host data) run
// after it, at most this many times for one outer evaluation.
constexpr int kMostFollowUps = 16;
constexpr int kMostChainedReloads = 8;

// ---- The default host: the program's own services.

class ProgramHotScreenHost final : public HotScreenHost {
public:
    ViewWindow TerminalView() override { return nullptr; }  // FeedEmulation: the active view
    void FeedEmulation(ViewWindow window, const uint8_t* bytes, int n) override { ::FeedEmulation(window, bytes, n); }
    void DdePoke(const char* service, const char* topic, const char* item, const char* data, int size) override
    {
        DdePokeTo(service, topic, item, data, size);
    }
    void MessageBox(ViewWindow, const std::string& text, const char*) override { Platform().ShowMessage(0, text.c_str()); }
    void RefreshTitle() override
    {
        if (CZolexDoc* doc = GetSessionDoc()) doc->SetTitle(nullptr);
    }
};
ProgramHotScreenHost programHost;
HotScreenHost* installedHost = nullptr;
HotScreenHost& Host() { return installedHost ? *installedHost : programHost; }

ViewWindow viewWindow = nullptr;

// Re-entrancy: host data fed by an action (or pumped while a message box is up) asks for an
// evaluation, and may carry a reload, while the lists are being walked.
bool evaluating = false;
bool evaluationAsked = false;
bool reloadAsked = false;
std::string reloadName;
bool freeAsked = false;
// The sets whose actions ran during the current outer evaluation: each runs them once.
std::vector<const HotScreenDef*> actionsRan;

// ---- The rule file.

struct RuleReader {
    const char* file;
    int elements = 0;

    bool Room() { return elements < kMostRuleElements; }

    std::string String(const std::string& section, const char* key, const char* fallback) const
    {
        char value[kValueRoom];
        Profiles().GetString(section.c_str(), key, fallback, value, sizeof value, file);
        return value;
    }
    // "%d" of the value; a missing key or a value that is no number gives the default.
    int Number(const std::string& section, const char* key, int fallback) const
    {
        const std::string text = String(section, key, "");
        const char* p = text.c_str();
        while (*p == ' ' || *p == '\t') ++p;
        char* end = nullptr;
        const long long value = std::strtoll(p, &end, 10);
        if (end == p) return fallback;
        return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
    }
    int Flag(const std::string& section, const char* key, const char* fallback) const
    {
        const std::string text = String(section, key, fallback);
        static const char kTrue[] = "true";
        for (int i = 0; i < 4; ++i)
            if (std::tolower(static_cast<unsigned char>(text.c_str()[i])) != kTrue[i]) return 0;
        return 1;
    }
    // The names of a list value, each one run of non-white characters.
    std::vector<std::string> Names(const std::string& section, const char* key) const
    {
        const std::string text = String(section, key, "");
        std::vector<std::string> names;
        std::size_t i = 0;
        while (true) {
            while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
            if (i >= text.size()) break;
            const std::size_t start = i;
            while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
            names.push_back(text.substr(start, i - start));
        }
        return names;
    }
    // The section of an owner's element; false (the element is refused) when it would not fit.
    static bool Section(const std::string& owner, const std::string& element, std::string& section)
    {
        section = owner + element;
        return section.size() < kSectionRoom;
    }

    ConditionList Conditions(const std::string& owner)
    {
        ConditionList list;
        for (const std::string& name : Names(owner, "match")) {
            std::string section;
            if (!Section(owner, name, section) || !Room()) continue;
            ++elements;
            ScreenCondition c;
            c.string = String(section, "string", "");
            c.type = Number(section, "type", 0);
            c.row = Number(section, "row", 1);
            c.col = Number(section, "col", 1);
            c.condition = Flag(section, "condition", "true");
            list.push_back(std::move(c));
        }
        return list;
    }

    void Buttons(HotScreenDef& set)
    {
        static const char* const kAliases[12] = {nullptr, "col", "row", "width", "height", nullptr, nullptr,
                                                 "imagefit", "boxtype", "boxdepth", "textcolor", "bgcolor"};
        HotButtonDef pattern;
        for (const std::string& name : Names(set.name, "button")) {
            std::string section;
            if (!Section(set.name, name, section) || !Room()) continue;
            if (static_cast<int>(set.buttons.size()) >= kHotButtonNames) break;
            ++elements;
            HotButtonDef b = pattern;
            b.contents = String(section, "contents", pattern.contents.c_str());
            b.imgformat = String(section, "imgformat", pattern.imgformat.c_str());
            b.click_l = String(section, "click_l", pattern.click_l.c_str());
            b.click_r = String(section, "click_r", pattern.click_r.c_str());
            b.click_l2 = String(section, "click_l2", pattern.click_l2.c_str());
            b.click_r2 = String(section, "click_r2", pattern.click_r2.c_str());
            b.flags = Number(section, "flags", pattern.flags);
            for (int i = 0; i < 12; ++i)
                b.params[i] = Number(section, ("param" + std::to_string(i + 1)).c_str(), pattern.params[i]);
            for (int i = 0; i < 12; ++i)
                if (kAliases[i]) b.params[i] = Number(section, kAliases[i], b.params[i]);
            b.conditions = Conditions(section);
            if (Flag(section, "default", "false")) {
                pattern = b;
                pattern.conditions.clear();
            }
            set.buttons.push_back(std::move(b));
        }
    }

    void Actions(HotScreenDef& set)
    {
        for (const std::string& name : Names(set.name, "action")) {
            std::string section;
            if (!Section(set.name, name, section) || !Room()) continue;
            ++elements;
            HotAction a;
            a.action = String(section, "action", "");
            a.type = Number(section, "type", 0);
            a.conditions = Conditions(section);
            set.actions.push_back(std::move(a));
        }
    }
};

// ---- The screen.

int Columns() { return Rec->MaxCols > 0 ? Rec->MaxCols : 0; }
int Rows() { return Rec->MaxCols > 0 ? LastRow(*Rec) + 1 : 0; }
int Cells() { return Rec->CharsScreen ? ScreenCellCount(*Rec) : 0; }

// The 3270 buffer's field attribute at a position, or -1 when the cell holds none.
int FieldAttributeAt(int position)
{
    if (!Rec->TerminalFamily3270 || !Planes3270Ready()) return -1;
    if (position < 0 || position >= Tn3270State.BufferSize || position >= Cells()) return -1;
    const uint8_t a = Rec->ProtectionPlane[position];
    return a >= kFaMarker ? a : -1;
}

// Reads an int as "%d" does: blanks, an optional sign, at least one digit. Advances p.
bool ReadNumber(const char*& p, int& value)
{
    const char* q = p;
    while (std::isspace(static_cast<unsigned char>(*q))) ++q;
    const char* digits = q;
    if (*digits == '+' || *digits == '-') ++digits;
    if (!std::isdigit(static_cast<unsigned char>(*digits))) return false;
    char* end = nullptr;
    const long long v = std::strtoll(q, &end, 10);
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
    p = end;
    return true;
}

// "%d%*c%d%*c%d": column, row and length, each pair apart by exactly one character.
bool ReadThreeNumbers(const char*& p, int& col, int& row, int& length)
{
    const char* q = p;
    if (!ReadNumber(q, col) || !*q++ || !ReadNumber(q, row) || !*q++ || !ReadNumber(q, length)) return false;
    p = q;
    return true;
}

// A macro's range on the screen: [start, end) and whether copying stops at the first blank.
struct MacroRange {
    int start = 0, end = 0;
    bool toBlank = false;
};

// The range of column, row and length; false when it lies outside the screen (the macro reads
// nothing).
bool RangeOf(int col, int row, int length, MacroRange& range)
{
    const int cols = Columns(), rows = Rows();
    if (col <= 0 || row <= 0 || length < 0 || cols <= 0 || rows <= 0 || Cells() <= 0) return false;
    if (row > rows) row = 1;
    if (col > cols) col = 1;
    if (length == 0) {
        length = cols - col + 1;
        range.toBlank = true;
    }
    range.start = (row - 1) * cols + (col - 1);
    const long long end = static_cast<long long>(range.start) + length;
    range.end = end > Cells() ? Cells() : static_cast<int>(end);
    return true;
}

// The fields of the wanted protection from the range's start on, joined by the separator.
void CopyFields(const MacroRange& range, bool wantProtected, char separator, std::string& out)
{
    if (!Rec->TerminalFamily3270 || !Planes3270Ready()) return;
    const int size = Tn3270State.BufferSize;
    if (size <= 0 || size > Cells() || range.start >= size) return;
    const int last = range.end < size ? range.end : size;
    int position = range.start;
    bool first = true;
    for (int turns = 0; turns <= size; ++turns) {
        if ((Is3270Protected(position) != 0) == wantProtected) {
            if (!first && separator) out += separator;
            first = false;
            if (Is3270FieldAttribute(position)) position = (position + 1) % size;
            while (!Is3270FieldAttribute(position) && position >= range.start && position < last) {
                out += ScreenCharAt(position);
                position = (position + 1) % size;
            }
        } else {
            position = Next3270Field(position);
        }
        if (position <= range.start || position >= last) break;
    }
}

bool StartsWith(const char* p, const char* word) { return std::strncmp(p, word, std::strlen(word)) == 0; }

void TrimEnd(std::string& text)
{
    while (!text.empty() && text.back() == ' ') text.pop_back();
}

}  // namespace

void SetHotScreenHost(HotScreenHost* host) { installedHost = host; }

char ScreenCharAt(int position)
{
    if (position < 0 || position >= Cells()) return ' ';
    const char c = static_cast<char>(Rec->CharsScreen[position]);
    return c == '\0' ? ' ' : c;
}

std::string ExpandScreenMacros(const std::string& text)
{
    std::string out;
    const char* p = text.c_str();
    while (*p) {
        const bool screen = (StartsWith(p, "%scr") || StartsWith(p, "%txt")) && std::isdigit(static_cast<unsigned char>(p[4]));
        const bool fields = StartsWith(p, "%u32fld") || StartsWith(p, "%p32fld");
        if (!screen && !fields) {
            out += *p++;
            continue;
        }
        const bool trimmed = screen && p[1] == 't';
        const bool wantProtected = fields && p[1] == 'p';
        p += screen ? 4 : 7;
        char separator = 0;
        if (fields && *p && !std::isdigit(static_cast<unsigned char>(*p))) separator = *p++;
        int col = 0, row = 0, length = 0;
        if (!ReadThreeNumbers(p, col, row, length)) continue;  // the name is dropped, the rest copied
        // The macro ends after the next '%' (or with the text).
        const char* close = std::strchr(p, '%');
        p = close ? close + 1 : p + std::strlen(p);
        MacroRange range;
        if (!RangeOf(col, row, length, range)) continue;
        if (fields) {
            CopyFields(range, wantProtected, separator, out);
            continue;
        }
        int position = range.start;
        if (trimmed)
            while (position < range.end && ScreenCharAt(position) == ' ') ++position;
        for (; position < range.end; ++position) {
            const char c = ScreenCharAt(position);
            if (range.toBlank && c == ' ') break;
            out += c;
        }
        if (trimmed) TrimEnd(out);
    }
    return out;
}

// ---- Conditions.

bool ScreenCondition::TestAt(int position) const
{
    bool result = false;
    if (type == 0) {
        // A text that would run past the screen's end is tested nowhere.
        if (position < 0 || position + static_cast<long long>(string.size()) > Cells()) return false;
        result = true;
        for (std::size_t i = 0; result && i < string.size(); ++i)
            result = ScreenCharAt(position + static_cast<int>(i)) == string[i];
    } else if (type == 1 || type == 2) {
        if (!Rec->TerminalFamily3270) return false;
        const int attribute = FieldAttributeAt(position);
        if (attribute >= 0) {
            const unsigned wanted = static_cast<unsigned>(std::strtoul(string.c_str(), nullptr, 16)) & 0xFF;
            result = type == 1 ? static_cast<unsigned>(attribute) == wanted
                               : (static_cast<unsigned>(attribute) & wanted) == wanted;
        }
    } else {
        return false;
    }
    return result == (condition != 0);
}

bool ScreenCondition::Holds() const
{
    const int cols = Columns(), rows = Rows();
    if (cols <= 0 || rows <= 0 || Cells() <= 0) return false;
    if (col < 0 || row < 0 || col > cols || row > rows) return false;
    if (col != 0 && row != 0) return TestAt((row - 1) * cols + (col - 1));
    if (col != 0) {
        for (int r = 0; r < rows; ++r)
            if (TestAt(r * cols + (col - 1))) return true;
        return false;
    }
    const int first = row != 0 ? (row - 1) * cols : 0;
    const int end = row != 0 ? first + cols : Cells();
    const long long lastStart = static_cast<long long>(end) - static_cast<long long>(string.size());
    for (long long position = first; position <= lastStart; ++position)
        if (TestAt(static_cast<int>(position))) return true;
    return false;
}

bool ConditionsHold(const ConditionList& conditions)
{
    for (const ScreenCondition& c : conditions)
        if (!c.Holds()) return false;
    return true;
}

// ---- Buttons.

std::string HotButtonName(int index)
{
    return "hot" + std::string(1, static_cast<char>('A' + index));
}

void HotButtonDef::Update(int index)
{
    const bool hold = ConditionsHold(conditions);
    if (hold && !created) {
        created = 1;
        // Each text its own value: screen text put into one cannot reach the others.
        const std::string expanded = ExpandScreenMacros(contents);
        ButtonTexts texts;
        texts[(flags & 1) ? 0 : 1] = expanded;
        // A picture named by the screen is one a host names.
        if ((flags & 1) && expanded != contents && !HostPictureNameAllowed(expanded)) texts[0].clear();
        texts[2] = HotButtonName(index);
        texts[3] = ExpandScreenMacros(imgformat);
        texts[4] = click_l;
        texts[5] = click_r;
        texts[6] = click_l2;
        texts[7] = click_r2;
        CreateDynButton(viewWindow, params, 12, texts, 0);
    } else if (!hold && created) {
        Remove(index);
    }
}

void HotButtonDef::Remove(int index)
{
    created = 0;
    DeleteDynButton(HotButtonName(index));
}

// ---- Actions.

int DecodeActionInput(const std::string& text, uint8_t* output, int maximum)
{
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // One token: a '<...>' group, a backslash pair or a plain character, with the '^' and '"'
        // before it (a '^' reaches on to the next plain character).
        std::size_t end = i;
        bool masked = false;
        while (true) {
            if (end >= text.size()) break;
            const char c = text[end];
            if (c == '^') { masked = true; ++end; continue; }
            if (c == '"') { ++end; continue; }
            if (c == '\\') { end = end + 2 <= text.size() ? end + 2 : text.size(); }
            else if (c == '<') {
                const std::size_t close = text.find('>', end);
                end = close == std::string::npos ? text.size() : close + 1;
            } else {
                ++end;
                break;
            }
            if (!masked) break;
        }
        uint8_t bytes[kActionInputBytes + 1];
        const std::string token = text.substr(i, end - i);
        const int n = DecodeKeyString(token.c_str(), bytes, sizeof bytes, false, true);
        if (count + n > maximum) break;
        std::memcpy(output + count, bytes, static_cast<std::size_t>(n));
        count += n;
        i = end;
    }
    return count;
}

void HotAction::Run() const
{
    if (!ConditionsHold(conditions)) return;
    const std::string text = ExpandScreenMacros(action);
    switch (type) {
    case 0: {
        uint8_t bytes[kActionInputBytes];
        const int n = DecodeActionInput(text, bytes, kActionInputBytes);
        if (n > 0) Host().FeedEmulation(viewWindow, bytes, n);
        break;
    }
    case 1: {
        char service[kDdeFieldLength + 1], topic[kDdeFieldLength + 1], item[kDdeFieldLength + 1];
        const char* rest = SplitField(service, text.c_str(), kDdeFieldLength, ';');
        rest = SplitField(topic, rest, kDdeFieldLength, ';');
        rest = SplitField(item, rest, kDdeFieldLength, ';');
        if (!*service) Host().MessageBox(viewWindow, "Service Name Was Null", "DDE Error");
        else if (!*topic) Host().MessageBox(viewWindow, "Topic Name Was Null", "DDE Error");
        else if (!*item) Host().MessageBox(viewWindow, "Item Name Was Null", "DDE Error");
        else Host().DdePoke(service, topic, item, rest, static_cast<int>(std::strlen(rest)) + 1);
        break;
    }
    case 2: Host().MessageBox(viewWindow, text, ""); break;
    default: {
        char message[kValueRoom + 64];
        std::snprintf(message, sizeof message, "Action \"%s\" has invalid type %d", action.c_str(), type);
        Host().MessageBox(viewWindow, message, nullptr);
        break;
    }
    }
}

// ---- Sets.

void HotScreenDef::Activate()
{
    if (flags & 1) {
        TitleText = ExpandScreenMacros(title);
        Host().RefreshTitle();
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i].Update(static_cast<int>(i));
    // Each set runs its actions once per outer evaluation, so that input fed by its own actions
    // cannot make it run them again and again.
    for (const HotScreenDef* ran : actionsRan)
        if (ran == this) return;
    actionsRan.push_back(this);
    for (const HotAction& a : actions) a.Run();
}

void HotScreenDef::Deactivate()
{
    if (flags & 1) {
        TitleText.clear();
        Host().RefreshTitle();
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i].Remove(static_cast<int>(i));
}

// ---- The engine.

void HotScreenLoad(const char* file)
{
    if (file && *file) HotScreenFileName = file;
    viewWindow = Host().TerminalView();
    RuleReader reader{HotScreenFileName.c_str()};
    HotScreenDynamic = reader.Flag("HotScreen", "dynamic", "false");
    for (const std::string& name : reader.Names("HotScreen", "names")) {
        if (name.size() >= kSectionRoom || !reader.Room()) continue;
        ++reader.elements;
        auto set = std::make_unique<HotScreenDef>();
        set->name = name;
        set->title = reader.String(name, "title", "");
        set->flags = reader.Number(name, "flags", 0);
        set->dynamic = reader.Flag(name, "dynamic", "false");
        set->conditions = reader.Conditions(name);
        reader.Buttons(*set);
        reader.Actions(*set);
        HotScreenList.push_back(std::move(set));
    }
}

namespace {

void EvaluateOnce()
{
    if (ActiveHotScreen && !HotScreenDynamic) {
        if (ActiveHotScreen->Matches()) {
            if (ActiveHotScreen->dynamic) ActiveHotScreen->Activate();
            return;
        }
        HotScreenDef* old = ActiveHotScreen;
        ActiveHotScreen = nullptr;
        old->Deactivate();
    }
    for (const auto& set : HotScreenList) {
        if (!set->Matches()) continue;
        if (set.get() != ActiveHotScreen) {
            if (HotScreenDef* old = ActiveHotScreen) {
                ActiveHotScreen = nullptr;
                old->Deactivate();
            }
            ActiveHotScreen = set.get();
            set->Activate();
        } else if (set->dynamic) {
            set->Activate();
        }
        return;
    }
}

void DeactivateAndFree()
{
    if (HotScreenDef* old = ActiveHotScreen) {
        ActiveHotScreen = nullptr;
        old->Deactivate();
    }
    HotScreenFree();
}

}  // namespace

void HotScreenEvaluate()
{
    if (evaluating) {
        evaluationAsked = true;
        return;
    }
    // A reload asked for during the evaluation follows it; rules whose actions keep loading
    // rules stop after a few loads.
    for (int reloads = 0;; ++reloads) {
        evaluating = true;
        actionsRan.clear();
        EvaluateOnce();
        for (int i = 0; i < kMostFollowUps && evaluationAsked && !reloadAsked && !freeAsked; ++i) {
            evaluationAsked = false;
            EvaluateOnce();
        }
        evaluationAsked = false;
        actionsRan.clear();
        evaluating = false;
        if (freeAsked) {
            freeAsked = reloadAsked = false;
            HotScreenFree();
            return;
        }
        if (!reloadAsked) return;
        reloadAsked = false;
        if (reloads >= kMostChainedReloads) return;
        const std::string name = reloadName;
        DeactivateAndFree();
        HotScreenLoad(name.c_str());
    }
}

void HotScreenReload(const char* file)
{
    if (evaluating) {
        reloadAsked = true;
        reloadName = file ? file : "";
        return;
    }
    DeactivateAndFree();
    HotScreenLoad(file);
    HotScreenEvaluate();
}

void HotScreenFree()
{
    if (evaluating) {
        freeAsked = true;
        return;
    }
    ActiveHotScreen = nullptr;
    HotScreenList.clear();
}
