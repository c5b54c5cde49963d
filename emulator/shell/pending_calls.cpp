// Stand-ins for engine-core functions the shell already calls; replaced when the engine core lands.
#include "shell/pending_calls.h"

#include "shell/session_record.h"

// Replaced when the engine core lands.
int UnescapeString(const char* source, char* destination, int maximum)
{
    int written = 0;
    while (*source && written < maximum) {
        char c = *source++;
        if (c == '\\') {
            if (!*source) break;
            c = *source++;
            if (c == 'n') c = '\n';
            else if (c == 'r') c = '\r';
        }
        destination[written++] = c;
    }
    destination[written] = '\0';
    return written;
}

// Replaced when the engine core lands.
int QuoteString(const char* source, char* destination, int limit)
{
    if (limit < 2) return 0;
    int written = 0;
    destination[written++] = '"';
    for (; *source && written < limit; ++source) {
        switch (*source) {
        case '\n': destination[written++] = '\\'; destination[written++] = 'n'; break;
        case '\r': destination[written++] = '\\'; destination[written++] = 'r'; break;
        case '\\': destination[written++] = '\\'; destination[written++] = '\\'; break;
        default: destination[written++] = *source; break;
        }
    }
    destination[written++] = '"';
    destination[written] = '\0';
    return written;
}

// Replaced when the engine core lands.
void SetDefaultCharsets()
{
    const bool wyse = Rec->Terminal == 8 || Rec->Terminal == 9 || Rec->Terminal == 12;
    Rec->CharsetDesignation[kCsG0] = 'B';
    Rec->CharsetDesignation[kCsG1] = wyse ? '0' : 'B';
    Rec->CharsetDesignation[kCsG2] = 'B';
    Rec->CharsetDesignation[kCsG3] = 'B';
}

// Replaced when the engine core lands.
void UpdateCurrentColors() {}

// Replaced when the connection layer lands.
int ShutdownTransport() { return 1; }

// Replaced when the engine core lands.
void EndPrint(int) {}

// Replaced when the connection layer lands: copies the text without expanding anything.
void ExpandVariables(const char* source, char* destination, int size)
{
    if (!destination || size <= 0) return;
    int n = 0;
    for (; source && source[n] && n < size - 1; ++n) destination[n] = source[n];
    destination[n] = '\0';
}

// Replaced when the connection layer lands.
short AutoLoginStep = 0;
int AutoLoginRepeatCount = 0;

// Replaced when the connection layer and the view extensions land: nothing to start or free yet.
void ShutdownDdeServer() {}
void FreeWysePageBuffer() {}
void FreeTelnetRings() {}
void DdeStartup() {}
void DdeShutdown() {}
void HotScreenLoad(const char*) {}
void HotScreenFree() {}

// Replaced when the engine core lands.
void Build3270CodeTables(int) {}
