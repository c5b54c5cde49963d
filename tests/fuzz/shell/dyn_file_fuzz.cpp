// Dynamic-hotspot files of any content: every line the reader takes must be written back by the
// table and read again to the same entries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "shell/hotspot_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = "/tmp/tolvi-dyn-fuzz-" + std::to_string(getpid()) + ".dyn";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    HotspotTable table;
    table.Load(file);
    std::string text;
    for (const std::string& name : table.Names()) {
        const std::string line = HotspotTable::FileLine(name, *table.Lookup(name));
        if (line.empty()) __builtin_trap();  // every entry read fits a line
        text += line;
    }
    HotspotTable again;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (!again.ReadLine(text.substr(at, end - at))) __builtin_trap();
        at = end + 1;
    }
    if (again.Names() != table.Names()) __builtin_trap();
    for (const std::string& name : table.Names())
        if (again.GetSendString(name) != table.GetSendString(name) || again.GetType(name) != table.GetType(name))
            __builtin_trap();
    return 0;
}
