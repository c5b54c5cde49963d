// File-name translations: the endings a sent or received file's name has replaced when no
// destination name is given (a local ".html" sent as ".htm", and back), the rules' lines in the
// section [FileNameTranslations] of TOLVIFTP.INI, and the values and checks of the two dialogs
// that edit them. Nothing here needs a window.
#pragma once

#include <memory>
#include <string>
#include <vector>

// Direction codes of a rule.
enum TranslationDirection : int {
    kTranslateNever = 0,    // "deactivated": listed and saved, never applied
    kTranslateSending = 1,
    kTranslateReceiving = 2,
    kTranslateBoth = 3,
};

// The direction table: the name of a code ("deactivated", "sending", "receiving", "both"; empty
// for a code outside 0..3), the position of its radio button in the edit dialog (0 "Sending and
// Receiving", 1 "Receiving", 2 "Sending"; -1 for code 0 or an unknown code), and back.
const char* DirectionName(int code);
int DirectionRadio(int code);
// The code of a radio position (searched from code 3 down to 1); 0 when no row has it.
int DirectionFromRadio(int position);
// The first of the codes 3, 2, 1 whose name contains `text`; 0 when none does (so "" gives 3,
// "send" 1, "rec" 2 and an unknown word 0).
int DirectionFromName(const std::string& text);

struct FileNameTranslation {
    std::string local;   // the local file name's ending
    std::string remote;  // the remote file name's ending
    int direction = kTranslateBoth;
};
bool operator==(const FileNameTranslation& a, const FileNameTranslation& b);

// The longest ending the edit dialog takes.
constexpr std::size_t kTranslationEndingLimit = 100;

// The edit dialog's check of two endings.
enum class EndingCheck { kOk, kBothEmpty, kIllegalCharacter };
EndingCheck CheckEndings(const std::string& local, const std::string& remote);
// The texts the edit dialog shows for a refused pair.
const char* EndingCheckMessage(EndingCheck check);

// Whether a rule is ever applied: a known direction other than 0, at least one ending, and no
// character the edit dialog refuses (so a translated name never leaves its folder).
bool TranslationApplies(const FileNameTranslation& rule);

// The translation of `name` for sending (kTranslateSending: the local ending is replaced by the
// remote one) or receiving (kTranslateReceiving: the other way round) by the first rule in list
// order that applies in that direction and whose compared ending ends the name (exactly, case
// counts). No such rule, or an empty name: the name unchanged.
std::string TranslateFileName(const std::vector<FileNameTranslation>& rules, const std::string& name, int direction);

// A rule's line in the settings file ("local*remote*direction name") and the rule of a line: the
// text before the first '*', between the first and the second, and the direction named after the
// second (a line with fewer than two '*' gets direction 0). Lines whose two endings are empty are
// dropped; the rest keep their order.
std::string TranslationLine(const FileNameTranslation& rule);
FileNameTranslation TranslationFromLine(const std::string& line);
std::vector<FileNameTranslation> TranslationsFromLines(const std::vector<std::string>& lines);
std::vector<std::string> TranslationLines(const std::vector<FileNameTranslation>& rules);

// The order of the main dialog's list: by local ending, comparing bytes, a prefix before a longer
// text; rules with the same local ending keep their order.
void SortTranslations(std::vector<FileNameTranslation>& rules);

// What the edit dialog shows of a rule and takes back from it. When both endings are longer than
// one character and begin with '.', the dots are left out and the dot box is checked; with two
// empty endings the box is checked too.
struct TranslationEditValues {
    std::string local;
    std::string remote;
    int radio = 0;      // radio position, -1 none
    bool dots = false;  // "Automatically prepend a dot to specified extensions"
};
TranslationEditValues EditValuesOf(const FileNameTranslation& rule);
// The rule the edit dialog's values give (a dot before each ending when the box is checked).
FileNameTranslation RuleOfEditValues(const TranslationEditValues& values);

// The main dialog's list under editing. New puts an empty rule (direction both) at the top and
// returns its index. Ending the edit of the rule at `index`: Cancel removes a new rule and keeps
// any other as it was; OK with the delete flag removes the rule; OK otherwise stores the values.
// After an OK the list is sorted again. True when the list changed.
int AddNewTranslation(std::vector<FileNameTranslation>& rules);
bool EndTranslationEdit(std::vector<FileNameTranslation>& rules, int index, bool isNew, bool ok, bool deleted,
                        const TranslationEditValues& values);

// The lines of `section` in the text of a settings file (blank lines, and lines starting with ';',
// left out; the section name compared without case), and the text with that section's lines
// replaced by `lines` (the section is added at the end when the file has none; every other line is
// kept as it was). Lines end with CR LF.
std::vector<std::string> ProfileSectionLines(const std::string& fileText, const std::string& section);
std::string ReplaceProfileSection(const std::string& fileText, const std::string& section,
                                  const std::vector<std::string>& lines);

constexpr const char* kTranslationSection = "FileNameTranslations";

// Where the rules are kept: the lines of the section, and writing them anew (true when written).
class TranslationStore {
public:
    virtual ~TranslationStore() = default;
    virtual std::vector<std::string> ReadLines() = 0;
    virtual bool WriteLines(const std::vector<std::string>& lines) = 0;
};

// The dialogs that edit a copy of the rules; true when the user confirmed with OK.
class TranslationEditor {
public:
    virtual ~TranslationEditor() = default;
    virtual bool Edit(std::vector<FileNameTranslation>& rules) = 0;
};

class FileNameTranslator {
public:
    virtual ~FileNameTranslator() = default;
    virtual std::string TranslateReceivedName(const std::string& remoteName) = 0;
    virtual std::string TranslateSentName(const std::string& localName) = 0;
    // Shows the dialogs and saves: 0 when the user cancelled, 1 when the rules were taken and
    // saved, -1 when they were taken but could not be saved.
    virtual int EditTranslations() = 0;
};

// The "std" translator: an ordered list of rules, read from and written to its store.
class StdFileNameTranslator : public FileNameTranslator {
public:
    StdFileNameTranslator(TranslationStore& store, TranslationEditor& editor) : store_(store), editor_(editor) {}
    void LoadTranslations();
    std::string TranslateReceivedName(const std::string& remoteName) override;
    std::string TranslateSentName(const std::string& localName) override;
    int EditTranslations() override;
    const std::vector<FileNameTranslation>& Rules() const { return rules_; }

private:
    TranslationStore& store_;
    TranslationEditor& editor_;
    std::vector<FileNameTranslation> rules_;
};

// The translator of a kind ("std", loaded from the store); none for any other kind.
std::unique_ptr<FileNameTranslator> CreateFileNameTranslator(const std::string& kind, TranslationStore& store,
                                                             TranslationEditor& editor);
