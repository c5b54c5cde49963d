#include "shell/clipboard_text.h"

#include <algorithm>
#include <cstring>

#include "engine/screen_planes.h"
#include "host_platform.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

std::vector<char> SelectionClipboardBlock(const SettingsRecord& rec, const CellRect& selection, bool table,
                                          const CopyTableSettings& settings)
{
    const CellRect cells = ClampToPlanes(rec, selection);
    if (cells.IsEmpty()) return {};
    const int width = cells.right - cells.left, height = cells.bottom - cells.top;
    std::vector<char> block(static_cast<std::size_t>(height) * (width + 2) - 1, '\0');
    ScreenTextRequest request{};
    request.tableMode = table ? 1 : 0;
    request.left = cells.left;
    request.top = cells.top;
    request.width = width;
    request.height = height;
    request.separator = SeparatorByte(settings);
    request.removeLeading = settings.removeLeading != 0;
    request.removeTrailing = settings.removeTrailing != 0;
    request.separatorBetweenRows = settings.lineEnd == 1;
    request.singleBlankRule = settings.singleSpace;
    GetScreenText(rec, block.data(), block.size(), request);
    return block;
}

std::string PasteBytes(const char* text, std::size_t size, const SettingsRecord& rec)
{
    const std::size_t length = text ? strnlen(text, size) : 0;
    std::string bytes(text ? text : "", length);
    auto* data = reinterpret_cast<uint8_t*>(bytes.data());
    if (rec.Charset == 4) {
        std::string converted(length, '\0');
        Platform().AnsiToOemBytes(data, reinterpret_cast<uint8_t*>(converted.data()), length);
        bytes = std::move(converted);
    } else if (rec.Charset != 3) {
        for (std::size_t i = 0; i < length; ++i) data[i] = SessionTranslateTables.Outgoing[data[i]];
    }
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\n'), bytes.end());
    return bytes;
}
