// Host data of any content through a VT interpreter with the host-command hooks installed: the
// window commands, titles, screen buttons with their texts and pictures, capture-file names,
// mouse strings and the rest of the string commands, in random blocks.
//
// Input: byte 0 picks the VT emulation, the width, 7/8-bit controls and the character-set mode;
// byte 1 seeds the block sizes; bytes 2-10 are the picture header every button picture reads
// (width and height as 32-bit little-endian numbers, the bits per pixel); the rest is host data.
// Nothing here starts a program, opens a file or plays one: the system stand-in has no view, and
// the capture file is never opened.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "connections/connection_dispatch.h"
#include "engine/host_commands/host_application.h"
#include "engine/host_commands/host_commands.h"
#include "engine/host_commands/host_system.h"
#include "engine/vt/vt_buffers.h"
#include "engine/vt/vt_hooks.h"
#include "session/session_record.h"
#include "shell/dyn_buttons.h"
#include "shell/picture_load.h"
#include "random_blocks.h"
#include "term_feed.h"

namespace {

struct PictureHeader {
    int width = 0, height = 0, bits = 0;
};
PictureHeader header;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// An imaging component whose every file has the input's header; each step checks what it is
// asked to make.
class HeaderDecoder : public PictureDecoder {
public:
    bool Open(const std::string& file, int& width, int& height, int& bits) override
    {
        if (!HostPictureNameAllowed(file)) Fail("a refused picture name was opened");
        width = w_ = header.width;
        height = h_ = header.height;
        bits = header.bits;
        return true;
    }
    bool Scale(const PictureSize& size) override
    {
        if (size.width <= 0 || size.height <= 0) Fail("scaled to no size");
        w_ = size.width;
        h_ = size.height;
        return true;
    }
    bool Clip(const PictureSize& size) override
    {
        if (size.width <= 0 || size.height <= 0 || size.width > w_ || size.height > h_) Fail("clipped outside the picture");
        w_ = size.width;
        h_ = size.height;
        return true;
    }
    bool Finish(bool, bool) override
    {
        if (PictureBytes(static_cast<uint32_t>(w_), static_cast<uint32_t>(h_), 32) > 64 * kLargestPictureBytes)
            Fail("a picture too large for memory is drawn");
        return true;
    }

private:
    int w_ = 0, h_ = 0;
};

class Picture : public ButtonImage {
public:
    explicit Picture(PictureSize size) : size_(size) {}
    int Width() const override { return size_.width; }
    int Height() const override { return size_.height; }

private:
    PictureSize size_;
};

std::unique_ptr<ButtonImage> LoadHeaderPicture(const std::string& file, int fit, const PictureSize* size)
{
    HeaderDecoder decoder;
    PictureSize result;
    if (!LoadPicture(decoder, file, fit, size, 1u << 24, result)) return nullptr;
    return std::make_unique<Picture>(result);
}

class QuietButtonView : public ButtonView {
public:
    ButtonGeometry Geometry() override
    {
        ButtonGeometry g;
        g.cellWidth = 8;
        g.cellHeight = 16;
        g.viewWidth = Rec->MaxCols * 8 + 40;
        g.viewHeight = Rec->MaxRows * 16 + 40;
        g.left = g.top = g.right = g.bottom = 20;
        g.frameSize = 2;
        return g;
    }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton&) override {}
};

// The capture file of media copy is named by the host; it is never opened here.
int NoCaptureFile(const char*)
{
    if (CaptureFileName().find('\0') != std::string::npos) Fail("a capture name with NUL");
    return ENOENT;
}

void Check()
{
    const SettingsRecord& r = *Rec;
    if (r.CursorRow < 0 || r.CursorRow >= r.MaxRows || r.CursorCol < 0 || r.CursorCol >= r.MaxCols ||
        r.StringCommandLength < 0 || r.StringCommandLength > kSequenceBufferSize)
        Fail("cursor or string command out of range");
    if (TitleText.find('\0') != std::string::npos) Fail("a title with NUL");
    for (const auto& item : DynButtonMap)
        if (item.first.empty()) Fail("a button without a name");
}

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietButtonView buttonView;
    static HostSystem system;  // no view: no program, play file or file command
    static HostApplication application;
    static const bool installed = (SetButtonView(&buttonView), SetButtonImageLoader(LoadHeaderPicture),
                                   SetHostSystem(&system), SetHostApplication(&application), true);
    (void)installed;
    constexpr size_t kHead = 11;
    if (size < kHead) return 0;

    static const int kCodes[] = {1, 2, 3, 10};
    TermFeedSetup setup;
    setup.emulation = kCodes[data[0] & 3];
    setup.cols = (data[0] & 0x40) ? 132 : 80;
    if (!SetUpTerminal(setup)) std::abort();
    InstallHostCommandHooks();
    VtHooks.startPrintFile = NoCaptureFile;
    Rec->Charset = 1 + ((data[0] >> 2) & 3);
    Rec->ControlChar = (data[0] & 0x10) ? 2 : 1;
    Rec->UseHostColor = (data[0] & 0x20) ? 1 : 0;
    Rec->AllowDOS = 1;
    header.width = static_cast<int>(Le32(data + 2) & 0x7FFFFFFF);
    header.height = static_cast<int>(Le32(data + 6) & 0x7FFFFFFF);
    header.bits = data[10];
    DynButtonMap.clear();
    TitleText.clear();

    FeedInRandomBlocks(data[1], data + kHead, size - kHead, Check);
    return 0;
}
