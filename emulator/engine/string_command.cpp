#include "engine/string_command.h"

#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

constexpr uint8_t kEsc = 0x1B;

void EndString(SettingsRecord& rec)
{
    rec.StringCommandNumber = 0;
    rec.StringCommandLength = 0;
}

StringFlow Finish(ViewWindow window, SettingsRecord& rec, int textEnd, const StringCommandBuffer& buffer,
                  DirtyRect& dirty)
{
    const int number = rec.StringCommandNumber;
    buffer.text[textEnd] = 0;
    EndString(rec);
    const char* text = reinterpret_cast<const char*>(buffer.text);
    if (number == kDcsStringNumber) {
        DcsDispatch(window, rec, buffer.dcsFinal, buffer.paramCount, buffer.params, dirty, 0, text);
        return StringFlow::Next;
    }
    // The parameters after the command number (none for ESC &, which has no introducer).
    int count = number == kAclStringNumber ? 0 : buffer.paramCount - 1;
    if (count < 0) count = 0;
    return VtHooks.privateCommand(window, number, count, buffer.params + 1, text) ? StringFlow::StopBlock
                                                                                 : StringFlow::Next;
}

}  // namespace

StringFlow CollectStringByte(ViewWindow window, SettingsRecord& rec, uint8_t byte, const StringCommandBuffer& buffer,
                             DirtyRect& dirty)
{
    const int length = rec.StringCommandLength;
    if (length >= buffer.capacity || length < 0) {
        EndString(rec);
        return StringFlow::Next;
    }
    buffer.text[length] = byte;
    if (rec.StringCommandNumber == kAclStringNumber) {
        rec.StringCommandLength = length + 1;
        if (byte != '\r') return StringFlow::Next;
        if (length + 1 < 4) {
            EndString(rec);
            return StringFlow::Next;
        }
        return Finish(window, rec, length, buffer, dirty);
    }
    if (length > 0 && buffer.text[length - 1] == kEsc) return Finish(window, rec, length - 1, buffer, dirty);
    rec.StringCommandLength = length + 1;
    return StringFlow::Next;
}
