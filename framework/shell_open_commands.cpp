#include "shell_open_commands.h"

#include <cctype>
#include <cstring>

namespace {

class Cursor {
public:
    Cursor(const char* text, std::size_t length) : text_(text), end_(length)
    {
        const void* nul = std::memchr(text, '\0', length);
        if (nul) end_ = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
    }
    bool AtEnd() const { return pos_ >= end_; }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void SkipBlanks()
    {
        while (!AtEnd() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool Take(char c)
    {
        if (Peek() != c || AtEnd()) return false;
        ++pos_;
        return true;
    }
    bool TakeWord(const char* word)
    {
        const std::size_t n = std::strlen(word);
        if (end_ - pos_ < n) return false;
        for (std::size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) return false;
        pos_ += n;
        return true;
    }
    // A quoted string; a doubled quote stands for one quote.
    bool TakeQuoted(std::string& out)
    {
        if (!Take('"')) return false;
        while (!AtEnd()) {
            const char c = text_[pos_++];
            if (c != '"') {
                out += c;
            } else if (Peek() == '"') {
                out += '"';
                ++pos_;
            } else {
                return true;
            }
        }
        return false;
    }

private:
    const char* text_;
    std::size_t end_;
    std::size_t pos_ = 0;
};

}  // namespace

bool ParseShellOpenCommands(const char* text, std::size_t length, std::vector<std::string>& paths)
{
    if (!text) return false;
    Cursor in(text, length);
    std::vector<std::string> found;
    in.SkipBlanks();
    if (in.AtEnd()) return false;
    while (!in.AtEnd()) {
        std::string path;
        if (!in.Take('[')) return false;
        in.SkipBlanks();
        if (!in.TakeWord("open")) return false;
        in.SkipBlanks();
        if (!in.Take('(')) return false;
        in.SkipBlanks();
        if (!in.TakeQuoted(path)) return false;
        in.SkipBlanks();
        if (!in.Take(')')) return false;
        in.SkipBlanks();
        if (!in.Take(']')) return false;
        if (path.empty()) return false;
        found.push_back(path);
        in.SkipBlanks();
    }
    paths.insert(paths.end(), found.begin(), found.end());
    return true;
}
