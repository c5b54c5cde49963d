// See test_pictures.h.
#include <initguid.h>

#include "test_pictures.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> QuadPixels(int bytesPerPixel)
{
    std::vector<uint8_t> pixels(static_cast<std::size_t>(kQuadWidth) * kQuadHeight * bytesPerPixel);
    for (int y = 0; y < kQuadHeight; ++y) {
        for (int x = 0; x < kQuadWidth; ++x) {
            const COLORREF c = kQuarterColors[(y >= kQuadHeight / 2 ? 2 : 0) + (x >= kQuadWidth / 2 ? 1 : 0)];
            uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kQuadWidth + x) * bytesPerPixel];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            if (bytesPerPixel == 4) p[3] = 255;
        }
    }
    return pixels;
}

void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T>
void Put(std::vector<uint8_t>& bytes, T value)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof value);
}

bool Encode(IWICImagingFactory* factory, const GUID& container, const std::string& name, bool indexed)
{
    std::wstring wide(name.begin(), name.end());
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    IWICPalette* palette = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
              SUCCEEDED(frame->SetSize(kQuadWidth, kQuadHeight));
    if (ok && indexed) {
        WICColor colors[4];
        for (int i = 0; i < 4; ++i)
            colors[i] = 0xFF000000u | (GetRValue(kQuarterColors[i]) << 16) | (GetGValue(kQuarterColors[i]) << 8) |
                        GetBValue(kQuarterColors[i]);
        WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
        std::vector<uint8_t> pixels(static_cast<std::size_t>(kQuadWidth) * kQuadHeight);
        for (int y = 0; y < kQuadHeight; ++y)
            for (int x = 0; x < kQuadWidth; ++x)
                pixels[static_cast<std::size_t>(y) * kQuadWidth + x] =
                    static_cast<uint8_t>((y >= kQuadHeight / 2 ? 2 : 0) + (x >= kQuadWidth / 2 ? 1 : 0));
        ok = SUCCEEDED(factory->CreatePalette(&palette)) && SUCCEEDED(palette->InitializeCustom(colors, 4)) &&
             SUCCEEDED(frame->SetPixelFormat(&format)) && SUCCEEDED(frame->SetPalette(palette)) &&
             SUCCEEDED(frame->WritePixels(kQuadHeight, kQuadWidth, static_cast<UINT>(pixels.size()), pixels.data()));
    } else if (ok) {
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        std::vector<uint8_t> pixels = QuadPixels(3);
        ok = SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
             SUCCEEDED(frame->WritePixels(kQuadHeight, kQuadWidth * 3, static_cast<UINT>(pixels.size()), pixels.data()));
    }
    ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown* object : {static_cast<IUnknown*>(palette), static_cast<IUnknown*>(options),
                             static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream)})
        if (object) object->Release();
    return ok;
}

// A plain bottom-up BMP header for a picture of the size and depth (the pixels follow, or not).
std::vector<uint8_t> BmpHeader(int32_t width, int32_t height, uint16_t bits, uint32_t imageSize)
{
    std::vector<uint8_t> b = {'B', 'M'};
    Put<uint32_t>(b, 54 + imageSize);
    Put<uint32_t>(b, 0);
    Put<uint32_t>(b, 54);
    Put<uint32_t>(b, 40);
    Put<int32_t>(b, width);
    Put<int32_t>(b, height);
    Put<uint16_t>(b, 1);
    Put<uint16_t>(b, bits);
    Put<uint32_t>(b, 0);          // BI_RGB
    Put<uint32_t>(b, imageSize);  // 0 is allowed for BI_RGB
    Put<uint32_t>(b, 2835);
    Put<uint32_t>(b, 2835);
    Put<uint32_t>(b, 0);
    Put<uint32_t>(b, 0);
    return b;
}

// An icon of one 32-bit image: its directory entry, a DIB of double height, the AND mask.
std::vector<uint8_t> QuadIcon()
{
    const std::vector<uint8_t> pixels = QuadPixels(4);
    const uint32_t rowMask = ((kQuadWidth + 31) / 32) * 4;
    const uint32_t dibSize = 40 + kQuadWidth * kQuadHeight * 4 + rowMask * kQuadHeight;
    std::vector<uint8_t> b;
    Put<uint16_t>(b, 0);
    Put<uint16_t>(b, 1);
    Put<uint16_t>(b, 1);
    b.push_back(static_cast<uint8_t>(kQuadWidth));
    b.push_back(static_cast<uint8_t>(kQuadHeight));
    b.push_back(0);
    b.push_back(0);
    Put<uint16_t>(b, 1);
    Put<uint16_t>(b, 32);
    Put<uint32_t>(b, dibSize);
    Put<uint32_t>(b, 22);
    Put<uint32_t>(b, 40);
    Put<int32_t>(b, kQuadWidth);
    Put<int32_t>(b, kQuadHeight * 2);
    Put<uint16_t>(b, 1);
    Put<uint16_t>(b, 32);
    for (int i = 0; i < 6; ++i) Put<uint32_t>(b, 0);
    for (int y = kQuadHeight - 1; y >= 0; --y)  // bottom-up
        b.insert(b.end(), pixels.begin() + y * kQuadWidth * 4, pixels.begin() + (y + 1) * kQuadWidth * 4);
    b.insert(b.end(), rowMask * kQuadHeight, 0);  // every pixel shown
    return b;
}

}  // namespace

std::vector<std::string> WriteQuadPictures(const std::string& folder)
{
    std::vector<std::string> written;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return written;
    const struct {
        const char* name;
        const GUID* container;
        bool indexed;
    } formats[] = {
        {"quad.bmp", &GUID_ContainerFormatBmp, false}, {"quad.png", &GUID_ContainerFormatPng, false},
        {"quad.jpg", &GUID_ContainerFormatJpeg, false}, {"quad.gif", &GUID_ContainerFormatGif, true},
        {"quad.tif", &GUID_ContainerFormatTiff, false},
    };
    for (const auto& f : formats)
        if (Encode(factory, *f.container, folder + "\\" + f.name, f.indexed)) written.push_back(f.name);
    factory->Release();
    WriteFile(folder + "\\quad.ico", QuadIcon());
    written.push_back("quad.ico");
    return written;
}

std::vector<std::string> WriteHostilePictures(const std::string& folder)
{
    const std::vector<uint8_t> png = ReadFile(folder + "\\quad.png");
    const std::vector<uint8_t> bmp = ReadFile(folder + "\\quad.bmp");
    std::vector<uint8_t> pcx(128, 0);
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = 199;
    pcx[10] = 99;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"empty.png", {}},
        {"half.png", std::vector<uint8_t>(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2))},
        {"header-only.bmp", std::vector<uint8_t>(bmp.begin(), bmp.begin() + std::min<std::size_t>(bmp.size(), 60))},
        {"zero-width.bmp", BmpHeader(0, 100, 24, 0)},
        {"zero-height.bmp", BmpHeader(100, 0, 24, 0)},
        {"huge.bmp", BmpHeader(40000, 40000, 32, 0)},
        {"huge-field.bmp", BmpHeader(40000, 40000, 32, 0xFFFFFFFFu)},
        {"negative.bmp", BmpHeader(-5, 7, 24, 0)},
        {"large-cut.bmp", BmpHeader(7000, 7000, 32, 0)},  // within the limit, but no pixels
        {"text.png", std::vector<uint8_t>({'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e', '\n'})},
        {"picture.pcx", pcx},
    };
    std::vector<std::string> written;
    for (const auto& f : files) {
        WriteFile(folder + "\\" + f.name, f.bytes);
        written.push_back(f.name);
    }
    return written;
}
