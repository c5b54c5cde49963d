#include "shell/key_data_files.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "session/messages.h"

namespace {

constexpr std::size_t kKeyDefTokenLimit = 256;
constexpr std::size_t kKeyMapTokenLimit = 80;
constexpr std::size_t kTextLimit = 80;

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool SameWord(const std::string& token, const char* word)
{
    std::size_t i = 0;
    for (; i < token.size() && word[i]; ++i) {
        char c = token[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return i == token.size() && word[i] == '\0';
}

// A cursor over the file's bytes with the two ways of reading it: tokens and texts.
class TokenStream {
public:
    TokenStream(const std::string& text, std::size_t tokenLimit) : text_(text), limit_(tokenLimit) {}

    // The next whitespace-separated token; a longer one is cut at the limit and its rest comes
    // back as the next token. Nothing at the end of the text.
    std::optional<std::string> Token()
    {
        while (pos_ < text_.size() && IsSpace(Byte(pos_))) ++pos_;
        if (pos_ >= text_.size()) return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(Byte(pos_)) && pos_ - start < limit_) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // The text after "tx:": blanks and line ends before it skipped, then at most 80 characters of
    // the line, ended early by any control character; trailing blanks dropped, inner ones kept.
    std::string Text()
    {
        while (pos_ < text_.size() && Byte(pos_) <= ' ') ++pos_;
        std::string out;
        std::size_t heldBlanks = 0;
        for (std::size_t taken = 0; pos_ < text_.size() && taken < kTextLimit; ++taken) {
            const unsigned char c = Byte(pos_);
            if (c < ' ') break;
            ++pos_;
            if (c == ' ') {
                ++heldBlanks;
                continue;
            }
            out.append(heldBlanks, ' ');
            heldBlanks = 0;
            out += static_cast<char>(c);
        }
        return out;
    }

private:
    unsigned char Byte(std::size_t at) const { return static_cast<unsigned char>(text_[at]); }

    const std::string& text_;
    std::size_t limit_;
    std::size_t pos_ = 0;
};

// Asks about a token the format does not know; false when the user cancels the load.
bool GoOnAfterSyntaxError(const std::string& token, const char* fileKind)
{
    return ShowMessage(0, kMsgOkCancel, "%s <- %s file syntax error!", token.c_str(), fileKind) != kAnswerCancel;
}

}  // namespace

void ReadKeyDefText(const std::string& text, KeyDefTable& table)
{
    TokenStream stream(text, kKeyDefTokenLimit);
    std::unique_ptr<KeyDefEntry> current;
    std::optional<std::string> pending;
    for (;;) {
        std::optional<std::string> token = pending ? pending : stream.Token();
        pending.reset();
        if (!token) break;
        if (SameWord(*token, "dec:") || SameWord(*token, "define:")) {
            const std::optional<std::string> name = stream.Token();
            if (!name) break;
            current = std::make_unique<KeyDefEntry>(*name, "");
        } else if (SameWord(*token, "tx:")) {
            std::string definition = stream.Text();
            if (current) {
                current->SetDefinition(definition);
                table.SetAt(std::move(current));
            } else {
                pending = std::move(definition);
            }
        } else if (!GoOnAfterSyntaxError(*token, "Terminal KeyDef")) {
            break;
        }
    }
}

void ReadKeyMapText(const std::string& text, KeyMap& map)
{
    TokenStream stream(text, kKeyMapTokenLimit);
    std::unique_ptr<KeyMapEntry> current;
    uint16_t modifiers = 0;
    std::optional<std::string> pending;
    for (;;) {
        std::optional<std::string> token = pending ? pending : stream.Token();
        pending.reset();
        if (!token) break;
        if (SameWord(*token, "pckey:") || SameWord(*token, "key:")) {
            modifiers = 0;
            const std::optional<std::string> name = stream.Token();
            if (!name) break;
            current = std::make_unique<KeyMapEntry>();
            current->SetName(*name);
        } else if (SameWord(*token, "code:")) {
            const std::optional<std::string> code = stream.Token();
            if (!code) break;
            if (current) current->ParseKeyCode(*code);
        } else if (SameWord(*token, "state:")) {
            while ((token = stream.Token())) {
                if (SameWord(*token, "shift")) modifiers |= kShiftBit;
                else if (SameWord(*token, "ctrl")) modifiers |= kCtrlBit;
                else if (SameWord(*token, "alt")) modifiers |= kAltBit;
                else {
                    pending = token;
                    break;
                }
            }
            if (current) current->SetModifiers(modifiers);
        } else if (SameWord(*token, "tx:")) {
            std::string value = stream.Text();
            if (current) {
                current->SetValue(value);
                const uint16_t code = current->Code();
                map.SetEntry(code, std::move(current));
            } else {
                pending = std::move(value);
            }
        } else if (!GoOnAfterSyntaxError(*token, "Keyboard Map")) {
            break;
        }
    }
}

std::string KeyDefLine(const KeyDefEntry& entry)
{
    return "define: " + entry.GetName() + " tx: " + entry.GetDefinition() + "\n";
}

std::string KeyMapLine(const KeyMapEntry& entry)
{
    // A plain key has two blanks between its code and "tx:"; a modified one "state: " and words.
    std::string modifierPart = " ";
    if (entry.Modifiers() != 0) {
        modifierPart = "state: ";
        if (entry.Modifiers() & kShiftBit) modifierPart += "shift ";
        if (entry.Modifiers() & kCtrlBit) modifierPart += "ctrl ";
        if (entry.Modifiers() & kAltBit) modifierPart += "alt ";
    }
    char code[8];
    std::snprintf(code, sizeof code, "%02X", entry.Code() & kKeyBits);
    return "pckey: " + entry.GetName() + " code: " + code + " " + modifierPart + "tx: " + entry.GetValue() + "\n";
}
