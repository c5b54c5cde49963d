#include "connections/dde/dde_commands.h"

#include <cstring>
#include <memory>
#include <new>

#include "connections/connection_dispatch.h"
#include "connections/dde/gettxt.h"
#include "engine/key_strings.h"
#include "session/session_record.h"

namespace {

DdeActionRunner actionRunner = nullptr;

bool StartsWithNoCase(const uint8_t* data, std::size_t size, const char* word) {
    std::size_t n = std::strlen(word);
    if (size < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = data[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c != static_cast<unsigned char>(word[i])) return false;
    }
    return true;
}

bool EqualsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
        if (!x) return true;
    }
}

// The text after a command word of `skip` bytes, up to its NUL or the end of the data.
std::string TextAfter(const uint8_t* data, std::size_t size, std::size_t skip) {
    const char* start = reinterpret_cast<const char*>(data) + skip;
    const void* nul = std::memchr(start, 0, size - skip);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - start) : size - skip;
    return std::string(start, length);
}

void SendTyped(const std::string& text) {
    if (text.empty()) return;
    // Decoding never makes a text longer, so its length bounds the output.
    int limit = static_cast<int>(text.size());
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[text.size()]);
    if (!bytes) return;
    int n = DecodeKeyString(text.c_str(), bytes.get(), limit, false, true);
    if (n > 0) SendToHost(nullptr, bytes.get(), n);
}

}  // namespace

DdeExecuteCommand ParseDdeExecute(const uint8_t* data, std::size_t size) {
    DdeExecuteCommand result;
    if (!data) return result;
    // The sizes count the NUL a client sends after the command: "tohost;" needs 8 bytes.
    if (size >= 8 && StartsWithNoCase(data, size, "tohost;")) {
        result.command = DdeCommand::ToHost;
        result.text = TextAfter(data, size, 7);
    } else if (size >= 9 && StartsWithNoCase(data, size, "tohostx;")) {
        result.command = DdeCommand::ToHostX;
        result.text = TextAfter(data, size, 8);
    } else if (size >= 8 && StartsWithNoCase(data, size, "gettxt;")) {
        result.command = DdeCommand::GetTxt;
        result.text = TextAfter(data, size, 7);
    }
    return result;
}

DdeCommand CommandOfItem(const char* itemName) {
    if (!itemName) return DdeCommand::None;
    if (EqualsNoCase(itemName, "tohost")) return DdeCommand::ToHost;
    if (EqualsNoCase(itemName, "tohostx")) return DdeCommand::ToHostX;
    if (EqualsNoCase(itemName, "gettxt")) return DdeCommand::GetTxt;
    return DdeCommand::None;
}

void SetDdeActionRunner(DdeActionRunner runner) { actionRunner = runner; }

void RunDdeCommand(DdeCommand command, const std::string& text, DdeTextSink* txtret) {
    switch (command) {
    case DdeCommand::ToHost:
        SendTyped(text);
        break;
    case DdeCommand::ToHostX:
        if (actionRunner) actionRunner(text.c_str());
        break;
    case DdeCommand::GetTxt: {
        if (!txtret) break;
        std::string screen;
        if (RunGettxt(*Rec, text.data(), text.size(), screen)) txtret->SetText(screen.c_str());
        break;
    }
    case DdeCommand::None:
        break;
    }
}
