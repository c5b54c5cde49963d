#include "engine/key_strings.h"

#include "engine/charsets.h"

const KeyStringName KeyStringNames[] = {
    {"nul", 0x00},  {"null", 0x00}, {"soh", 0x01}, {"stx", 0x02},  {"etx", 0x03}, {"eot", 0x04},
    {"enq", 0x05},  {"ack", 0x06},  {"bel", 0x07}, {"bs", 0x08},   {"ht", 0x09},  {"tab", 0x09},
    {"lf", 0x0A},   {"vt", 0x0B},   {"form", 0x0C}, {"cr", 0x0D},  {"so", 0x0E},  {"si", 0x0F},
    {"dle", 0x10},  {"dc1", 0x11},  {"dc2", 0x12}, {"dc3", 0x13},  {"dc4", 0x14}, {"nak", 0x15},
    {"syn", 0x16},  {"sync", 0x16}, {"etb", 0x17}, {"can", 0x18},  {"em", 0x19},  {"sub", 0x1A},
    {"esc", 0x1B},  {"fs", 0x1C},   {"gs", 0x1D},  {"rs", 0x1E},   {"us", 0x1F},  {"del", 0x7F},
    {"csi", 0x9B},  {"ctrl-", kKeyNameCtrl},
    {nullptr, 0xFF},
};

namespace {

constexpr uint8_t kEsc = 0x1B;

bool IsAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The row whose name equals text[0, length) without regard to case, or nullptr.
const KeyStringName* FindName(const char* text, int length)
{
    for (const KeyStringName* row = KeyStringNames; row->name; ++row) {
        int i = 0;
        while (i < length && row->name[i] && row->name[i] == Lower(text[i])) ++i;
        if (i == length && row->name[i] == '\0') return row;
    }
    return nullptr;
}

// The output of the decoder: a bounded byte buffer that remembers the last byte written.
class DecodeOutput {
public:
    DecodeOutput(uint8_t* bytes, int maximum, bool eightBitControls)
        : bytes_(bytes), maximum_(maximum > 0 ? maximum : 0), eightBit_(eightBitControls)
    {
    }

    bool Full() const { return count_ >= maximum_; }
    bool LastIs(uint8_t b) const { return count_ > 0 && bytes_[count_ - 1] == b; }
    int Count() const { return count_; }

    void Put(uint8_t b)
    {
        if (!Full()) bytes_[count_++] = b;
    }
    // With 8-bit controls, ESC followed by a byte below 0x80 becomes one C1 byte.
    void PutFolding(uint8_t b)
    {
        if (eightBit_ && LastIs(kEsc) && b < 0x80)
            bytes_[count_ - 1] = static_cast<uint8_t>((b & 0x1F) | 0x80);
        else
            Put(b);
    }

private:
    uint8_t* bytes_;
    int maximum_;
    bool eightBit_;
    int count_ = 0;
};

// The national conversion of one plain character for the host.
uint8_t NationalByte(const SettingsRecord& rec, const TranslateTables& tables, uint8_t c, bool& foldable)
{
    foldable = false;
    if (rec.Charset == 4) return AnsiToOemByte(c);
    if (rec.Charset == 3) return c;
    foldable = true;
    return tables.Outgoing[c];
}

}  // namespace

int ParseKeyName(const char* text, uint8_t& output)
{
    if (!text) return 0;
    int pos = 0;
    while (text[pos] == '<' || text[pos] == ' ' || text[pos] == '\t') ++pos;
    const int start = pos;
    while (IsAlnum(text[pos])) ++pos;
    int length = pos - start;
    char argument = 0;
    if (text[pos] == '-') {
        // "ctrl-" takes the character after the '-'; at the end of the text there is none.
        argument = text[pos + 1];
        if (argument == '\0') return 0;
        ++length;
    }
    const KeyStringName* row = FindName(text + start, length);
    if (!row) return 0;
    if (row->code == kKeyNameCtrl) {
        output = static_cast<uint8_t>(argument & 0x1F);
        return pos + 2;
    }
    output = static_cast<uint8_t>(row->code);
    return pos;
}

int ParseHexPair(const char* text, uint8_t& output)
{
    if (!text) return 0;
    const int high = HexValue(text[0]);
    if (high < 0) return 0;
    const int low = HexValue(text[1]);
    if (low < 0) return 0;
    output = static_cast<uint8_t>(high * 16 + low);
    return 2;
}

int FormatHexPair(uint8_t byte, char* output)
{
    static const char kDigits[] = "0123456789ABCDEF";
    output[0] = kDigits[byte >> 4];
    output[1] = kDigits[byte & 15];
    return 2;
}

int FormatControlChar(uint8_t byte, char* output)
{
    if (byte < 0x10) {
        output[0] = '^';
        output[1] = static_cast<char>(byte + 0x40);
        return 2;
    }
    output[0] = static_cast<char>(byte);
    return 1;
}

int DecodeKeyString(const SettingsRecord& rec, const TranslateTables& tables, const char* text,
                    uint8_t* output, int maximum, bool eightBitControls, bool national)
{
    if (!text || !output) return 0;
    DecodeOutput out(output, maximum, eightBitControls);
    uint8_t mask = 0xFF;
    const char* p = text;
    while (*p && !out.Full()) {
        const char c = *p;
        if (c == '\\') {
            if (p[1] == '\0') break;
            out.Put(static_cast<uint8_t>(p[1]));
            p += 2;
        } else if (c == '"') {
            ++p;
        } else if (c == '^') {
            mask = 0x1F;
            ++p;
        } else if (c == '<') {
            ++p;
            while (*p && *p != '>' && !out.Full()) {
                uint8_t b = 0;
                int used = ParseKeyName(p, b);
                if (used == 0) used = ParseHexPair(p, b);
                if (used > 0) out.PutFolding(b);
                p += used;
                // Past one separator (or one character of an unknown token), never past the end.
                if (*p && *p != '>') ++p;
            }
            if (*p == '>') ++p;
        } else {
            const uint8_t raw = static_cast<uint8_t>(c);
            const uint8_t plain = raw & mask;
            if (!national) {
                // After ESC the unmasked character folds into the C1 byte.
                if (eightBitControls && out.LastIs(kEsc) && raw < 0x80)
                    out.PutFolding(raw);
                else
                    out.Put(plain);
            } else {
                bool foldable = false;
                const uint8_t b = NationalByte(rec, tables, plain, foldable);
                if (foldable && eightBitControls)
                    out.PutFolding(b);
                else
                    out.Put(b);
            }
            mask = 0xFF;
            ++p;
        }
    }
    return out.Count();
}

int DecodeKeyString(const char* text, uint8_t* output, int maximum, bool eightBitControls, bool national)
{
    return DecodeKeyString(*Rec, SessionTranslateTables, text, output, maximum, eightBitControls, national);
}

int UnescapeString(const char* source, char* destination, int maximum)
{
    if (!destination) return 0;
    int written = 0;
    if (source) {
        const char* p = source;
        while (*p && written < maximum) {
            char c = *p++;
            if (c == '\\' && *p) {
                c = *p++;
                if (c == 'n')
                    c = '\n';
                else if (c == 'r')
                    c = '\r';
            }
            destination[written++] = c;
        }
    }
    destination[written] = '\0';
    return written;
}

int QuoteString(const char* source, char* destination, int limit)
{
    if (!destination || limit < 2) return 0;
    int written = 0;
    destination[written++] = '"';
    for (const char* p = source ? source : ""; *p && written < limit; ++p) {
        switch (*p) {
        case '\n':
            destination[written++] = '\\';
            destination[written++] = 'n';
            break;
        case '\r':
            destination[written++] = '\\';
            destination[written++] = 'r';
            break;
        case '\\':
            destination[written++] = '\\';
            destination[written++] = '\\';
            break;
        default: destination[written++] = *p;
        }
    }
    destination[written++] = '"';
    destination[written] = '\0';
    return written;
}
