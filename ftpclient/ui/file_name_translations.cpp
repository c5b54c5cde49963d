#include "file_name_translations.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

struct DirectionRow {
    const char* name;
    int radio;
};

constexpr DirectionRow kDirections[] = {
    {"deactivated", -1},
    {"sending", 2},
    {"receiving", 1},
    {"both", 0},
};
constexpr int kDirectionCount = 4;

bool EndsWith(const std::string& name, const std::string& ending)
{
    return name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

bool RefusedCharacter(char c) { return std::strchr("*\t\"\\;:/[] ", c) != nullptr && c != '\0'; }

bool HasRefusedCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), RefusedCharacter);
}

bool SameSectionName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.substr(begin, end - begin);
}

// The name of a section header line ("[name]"), false for any other line.
bool SectionHeader(const std::string& line, std::string& name)
{
    const std::string text = Trimmed(line);
    if (text.size() < 2 || text.front() != '[')
        return false;
    const std::size_t close = text.find(']');
    if (close == std::string::npos)
        return false;
    name = Trimmed(text.substr(1, close - 1));
    return true;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

const char* DirectionName(int code) { return code >= 0 && code < kDirectionCount ? kDirections[code].name : ""; }

int DirectionRadio(int code) { return code >= 0 && code < kDirectionCount ? kDirections[code].radio : -1; }

int DirectionFromRadio(int position)
{
    for (int code = kDirectionCount - 1; code >= 1; --code)
        if (kDirections[code].radio == position)
            return code;
    return kTranslateNever;
}

int DirectionFromName(const std::string& text)
{
    for (int code = kDirectionCount - 1; code >= 1; --code)
        if (std::strstr(kDirections[code].name, text.c_str()) != nullptr)
            return code;
    return kTranslateNever;
}

bool operator==(const FileNameTranslation& a, const FileNameTranslation& b)
{
    return a.local == b.local && a.remote == b.remote && a.direction == b.direction;
}

EndingCheck CheckEndings(const std::string& local, const std::string& remote)
{
    if (local.empty() && remote.empty())
        return EndingCheck::kBothEmpty;
    if (HasRefusedCharacter(local) || HasRefusedCharacter(remote))
        return EndingCheck::kIllegalCharacter;
    return EndingCheck::kOk;
}

const char* EndingCheckMessage(EndingCheck check)
{
    switch (check) {
    case EndingCheck::kBothEmpty:
        return "One of the filenames must be at least one character long.";
    case EndingCheck::kIllegalCharacter:
        return "Illegal character in filename.";
    case EndingCheck::kOk:
        break;
    }
    return "";
}

bool TranslationApplies(const FileNameTranslation& rule)
{
    return rule.direction >= kTranslateSending && rule.direction <= kTranslateBoth &&
           CheckEndings(rule.local, rule.remote) == EndingCheck::kOk;
}

std::string TranslateFileName(const std::vector<FileNameTranslation>& rules, const std::string& name, int direction)
{
    if (name.empty())
        return name;
    const bool sending = direction == kTranslateSending;
    for (const FileNameTranslation& rule : rules) {
        if (!TranslationApplies(rule) || (rule.direction != kTranslateBoth && rule.direction != direction))
            continue;
        const std::string& from = sending ? rule.local : rule.remote;
        const std::string& to = sending ? rule.remote : rule.local;
        if (EndsWith(name, from))
            return name.substr(0, name.size() - from.size()) + to;
    }
    return name;
}

std::string TranslationLine(const FileNameTranslation& rule)
{
    return rule.local + "*" + rule.remote + "*" + DirectionName(rule.direction);
}

FileNameTranslation TranslationFromLine(const std::string& line)
{
    FileNameTranslation rule;
    const std::size_t first = line.find('*');
    if (first == std::string::npos) {
        rule.local = line;
        rule.direction = kTranslateNever;
        return rule;
    }
    rule.local = line.substr(0, first);
    const std::size_t second = line.find('*', first + 1);
    if (second == std::string::npos) {
        rule.remote = line.substr(first + 1);
        rule.direction = kTranslateNever;
        return rule;
    }
    rule.remote = line.substr(first + 1, second - first - 1);
    rule.direction = DirectionFromName(line.substr(second + 1));
    return rule;
}

std::vector<FileNameTranslation> TranslationsFromLines(const std::vector<std::string>& lines)
{
    std::vector<FileNameTranslation> rules;
    for (const std::string& line : lines) {
        FileNameTranslation rule = TranslationFromLine(line);
        if (!rule.local.empty() || !rule.remote.empty())
            rules.push_back(rule);
    }
    return rules;
}

std::vector<std::string> TranslationLines(const std::vector<FileNameTranslation>& rules)
{
    std::vector<std::string> lines;
    for (const FileNameTranslation& rule : rules)
        lines.push_back(TranslationLine(rule));
    return lines;
}

void SortTranslations(std::vector<FileNameTranslation>& rules)
{
    // std::string's compare is by unsigned bytes (char_traits<char> compares as unsigned char).
    std::stable_sort(rules.begin(), rules.end(),
                     [](const FileNameTranslation& a, const FileNameTranslation& b) { return a.local < b.local; });
}

TranslationEditValues EditValuesOf(const FileNameTranslation& rule)
{
    TranslationEditValues values;
    values.radio = DirectionRadio(rule.direction);
    values.local = rule.local;
    values.remote = rule.remote;
    if (rule.local.size() > 1 && rule.remote.size() > 1 && rule.local[0] == '.' && rule.remote[0] == '.') {
        values.local.erase(0, 1);
        values.remote.erase(0, 1);
        values.dots = true;
    } else {
        values.dots = rule.local.empty() && rule.remote.empty();
    }
    return values;
}

FileNameTranslation RuleOfEditValues(const TranslationEditValues& values)
{
    FileNameTranslation rule;
    rule.local = values.dots ? "." + values.local : values.local;
    rule.remote = values.dots ? "." + values.remote : values.remote;
    rule.direction = DirectionFromRadio(values.radio);
    return rule;
}

int AddNewTranslation(std::vector<FileNameTranslation>& rules)
{
    rules.insert(rules.begin(), FileNameTranslation{});
    return 0;
}

bool EndTranslationEdit(std::vector<FileNameTranslation>& rules, int index, bool isNew, bool ok, bool deleted,
                        const TranslationEditValues& values)
{
    if (index < 0 || index >= static_cast<int>(rules.size()))
        return false;
    if (!ok) {
        // A rule that was only just put in for the edit goes again: an empty rule would match
        // every name.
        if (isNew)
            rules.erase(rules.begin() + index);
        return false;
    }
    if (deleted)
        rules.erase(rules.begin() + index);
    else
        rules[static_cast<std::size_t>(index)] = RuleOfEditValues(values);
    SortTranslations(rules);
    return true;
}

std::vector<std::string> ProfileSectionLines(const std::string& fileText, const std::string& section)
{
    std::vector<std::string> lines;
    bool inside = false;
    for (const std::string& line : SplitLines(fileText)) {
        std::string name;
        if (SectionHeader(line, name)) {
            inside = SameSectionName(name, section);
            continue;
        }
        const std::string text = Trimmed(line);
        if (inside && !text.empty() && text[0] != ';')
            lines.push_back(text);
    }
    return lines;
}

std::string ReplaceProfileSection(const std::string& fileText, const std::string& section,
                                  const std::vector<std::string>& lines)
{
    std::string out;
    bool inside = false, written = false;
    auto writeSection = [&] {
        out += "[" + section + "]\r\n";
        for (const std::string& line : lines)
            out += line + "\r\n";
        written = true;
    };
    for (const std::string& line : SplitLines(fileText)) {
        std::string name;
        if (SectionHeader(line, name)) {
            inside = SameSectionName(name, section);
            if (inside) {
                // A second header of the same section (a hand-edited file) is merged into the first.
                if (!written)
                    writeSection();
                continue;
            }
        }
        if (!inside)
            out += line + "\r\n";
    }
    if (!written)
        writeSection();
    return out;
}

void StdFileNameTranslator::LoadTranslations() { rules_ = TranslationsFromLines(store_.ReadLines()); }

std::string StdFileNameTranslator::TranslateReceivedName(const std::string& remoteName)
{
    return TranslateFileName(rules_, remoteName, kTranslateReceiving);
}

std::string StdFileNameTranslator::TranslateSentName(const std::string& localName)
{
    return TranslateFileName(rules_, localName, kTranslateSending);
}

int StdFileNameTranslator::EditTranslations()
{
    std::vector<FileNameTranslation> copy = rules_;
    if (!editor_.Edit(copy))
        return 0;
    rules_ = copy;
    return store_.WriteLines(TranslationLines(rules_)) ? 1 : -1;
}

std::unique_ptr<FileNameTranslator> CreateFileNameTranslator(const std::string& kind, TranslationStore& store,
                                                             TranslationEditor& editor)
{
    if (kind != "std")
        return nullptr;
    auto translator = std::make_unique<StdFileNameTranslator>(store, editor);
    translator->LoadTranslations();
    return translator;
}
