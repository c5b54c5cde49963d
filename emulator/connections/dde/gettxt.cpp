#include "connections/dde/gettxt.h"

#include <climits>
#include <memory>
#include <new>

namespace {

// Reads the bytes of a bounded text: a NUL or the end of the bounds ends it.
class BoundedReader {
public:
    BoundedReader(const char* text, std::size_t length) : text_(text), length_(length) {}
    int Peek() const { return pos_ < length_ && text_[pos_] ? static_cast<unsigned char>(text_[pos_]) : -1; }
    void Skip() { ++pos_; }
    void SkipBlanks() {
        while (IsBlank(Peek())) Skip();
    }

private:
    static bool IsBlank(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    const char* text_;
    std::size_t length_;
    std::size_t pos_ = 0;
};

// One "%u": blanks, an optional sign, at least one digit. A minus sign negates modulo 2^32, as
// the C library's reading of an unsigned number does.
bool ReadUnsigned(BoundedReader& in, unsigned& value) {
    in.SkipBlanks();
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Skip();
    }
    if (in.Peek() < '0' || in.Peek() > '9') return false;
    unsigned result = 0;
    bool saturated = false;
    while (in.Peek() >= '0' && in.Peek() <= '9') {
        unsigned digit = static_cast<unsigned>(in.Peek() - '0');
        if (result > (UINT_MAX - digit) / 10) saturated = true;
        if (!saturated) result = result * 10 + digit;
        in.Skip();
    }
    if (saturated) result = UINT_MAX;
    else if (negative) result = 0u - result;
    value = result;
    return true;
}

// A rectangle side lies on the screen: start < size and extent in 1 .. size - start.
bool Fits(unsigned start, unsigned extent, int size) {
    if (size <= 0) return false;
    unsigned limit = static_cast<unsigned>(size);
    return start < limit && extent >= 1 && extent <= limit - start;
}

}  // namespace

int ParseGettxtParams(const char* text, std::size_t length, unsigned (&values)[kGettxtMaxParams]) {
    if (!text) return 0;
    BoundedReader in(text, length);
    int count = 0;
    while (count < kGettxtMaxParams) {
        if (count > 0) {
            in.SkipBlanks();
            if (in.Peek() != ';') break;
            in.Skip();
        }
        if (!ReadUnsigned(in, values[count])) break;
        ++count;
    }
    return count;
}

bool MakeGettxtRequest(const unsigned (&values)[kGettxtMaxParams], int count, int maxCols,
                       int maxRows, ScreenTextRequest& request) {
    if (count != 4 && count != kGettxtMaxParams) return false;
    if (!Fits(values[0], values[2], maxCols) || !Fits(values[1], values[3], maxRows)) return false;
    request = ScreenTextRequest{};
    request.left = static_cast<int>(values[0]);
    request.top = static_cast<int>(values[1]);
    request.width = static_cast<int>(values[2]);
    request.height = static_cast<int>(values[3]);
    if (count == 4) return true;
    if (values[4] > 255 || values[5] > 1 || values[6] > 1 || values[7] > 1 || values[8] > 2)
        return false;
    request.tableMode = 1;
    request.separator = static_cast<uint8_t>(values[4]);
    request.removeLeading = values[5] == 1;
    request.removeTrailing = values[6] == 1;
    request.separatorBetweenRows = values[7] == 1;
    request.singleBlankRule = static_cast<int>(values[8]);
    return true;
}

bool RunGettxt(const SettingsRecord& rec, const char* text, std::size_t length, std::string& out) {
    unsigned values[kGettxtMaxParams] = {};
    int count = ParseGettxtParams(text, length, values);
    ScreenTextRequest request;
    if (!MakeGettxtRequest(values, count, rec.MaxCols, rec.MaxRows, request)) return false;
    if (!rec.CharsScreen) return false;
    // Plain form needs height x (width + 2) - 1 characters and the NUL; the table form never
    // needs more than the plain one.
    std::size_t capacity = static_cast<std::size_t>(request.width + 2) * static_cast<std::size_t>(request.height);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[capacity]);
    if (!buffer) return false;
    std::size_t written = GetScreenText(rec, buffer.get(), capacity, request);
    out.assign(buffer.get(), written);
    return true;
}
