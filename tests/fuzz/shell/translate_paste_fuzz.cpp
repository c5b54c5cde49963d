// A translate-table file of any content and length (a session's .xlt or the national DECNRC.nnn
// beside the program), loaded by the session document, then used both ways: host data through a
// VT terminal (the incoming table), and the rest as a pasted clipboard text and as a key string
// (the outgoing table).
//
// Input: byte 0 picks the character-set mode, the file (the session's or the default one) and
// the country; byte 1 times three is the length of the table file that follows; the rest is the
// host data and the clipboard text. The files live in memory-backed /dev/shm.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "connections/connection_dispatch.h"
#include "engine/key_strings.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/clipboard_text.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"
#include "term_feed.h"

namespace {

std::string folder;

void WriteFile(const std::string& name, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

bool MakeFolder()
{
    folder = "/dev/shm/tolvi-xlt-fuzz-" + std::to_string(getpid()) + "/";
    mkdir(folder.c_str(), 0700);
    Startup.ProgramPath = folder + "Tolvi.exe";
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = MakeFolder();
    (void)ready;
    if (size < 2) return 0;
    const uint8_t options = data[0];
    size_t tableLength = data[1] * 3u;
    if (tableLength > size - 2) tableLength = size - 2;
    const uint8_t* table = data + 2;
    const uint8_t* rest = table + tableLength;
    const size_t restLength = size - 2 - tableLength;

    TermFeedSetup setup;
    setup.emulation = (options & 0x40) ? 2 : 10;
    if (!SetUpTerminal(setup)) std::abort();
    Rec->Charset = 1 + (options & 3);
    Rec->Country = (options & 0x20) ? 45 : 49;
    Rec->AutonameFiles = 0;

    static CZolexDoc doc;
    const bool defaultFile = (options & 4) != 0;
    doc.strings.Translate = defaultFile ? folder + "missing.xlt" : folder + "session.xlt";
    WriteFile(defaultFile ? doc.GetTranslateFileName(true) : doc.strings.Translate, table, tableLength);
    if (doc.LoadTranslateTables(SessionTranslateTables.Outgoing, SessionTranslateTables.Incoming, false) != 0 &&
        tableLength > 256)
        std::abort();  // a file of more than one table loads
    std::remove((defaultFile ? doc.GetTranslateFileName(true) : doc.strings.Translate).c_str());

    FeedTerminal(rest, restLength, 1 + (options >> 3 & 7) * 9);
    if (Rec->CursorRow < 0 || Rec->CursorRow >= Rec->MaxRows || Rec->CursorCol < 0 || Rec->CursorCol >= Rec->MaxCols)
        std::abort();

    const std::string pasted = PasteBytes(reinterpret_cast<const char*>(rest), restLength, *Rec);
    if (pasted.size() > restLength || pasted.find('\n') != std::string::npos) std::abort();

    const std::string text(reinterpret_cast<const char*>(rest), strnlen(reinterpret_cast<const char*>(rest), restLength));
    uint8_t decoded[512];
    const int n = DecodeKeyString(text.substr(0, 400).c_str(), decoded, sizeof decoded, (options & 0x80) != 0, false);
    if (n < 0 || n > static_cast<int>(sizeof decoded)) std::abort();
    return 0;
}
