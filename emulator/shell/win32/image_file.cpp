// Button pictures through WIC; see image_file.h.
#include <initguid.h>

#include "shell/win32/image_file.h"

#include <wincodec.h>

#include <vector>

namespace {

// Holds one COM reference.
template <class T>
class Com {
public:
    Com() = default;
    ~Com() { Reset(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    void Reset()
    {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    // Holds a further reference to p.
    void Assign(T* p)
    {
        if (p) p->AddRef();
        Reset();
        p_ = p;
    }
    // Takes over `other`'s reference.
    void Take(Com& other)
    {
        Reset();
        p_ = other.p_;
        other.p_ = nullptr;
    }
    T** Out()
    {
        Reset();
        return &p_;
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// The process's imaging component and the display's colour count, made at the first load.
struct ImagingLibrary {
    Com<IWICImagingFactory> factory;
    uint64_t colorCount = 0;
    bool tried = false;
};
ImagingLibrary imaging;

IWICImagingFactory* Factory()
{
    if (!imaging.tried) {
        imaging.tried = true;
        // The UI thread may already be in a (single-threaded) apartment: either way COM is usable.
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        (void)init;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(imaging.factory.Out()))))
            imaging.factory.Reset();
        HDC screen = GetDC(nullptr);
        const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
        // Every display deeper than 8 bits counts as more than 256 colours.
        imaging.colorCount = bits > 8 ? (uint64_t{1} << 24) : (uint64_t{1} << (bits > 0 ? bits : 1));
    }
    return imaging.factory.Get();
}

HPALETTE MakePalette(IWICPalette* palette)
{
    UINT count = 0;
    if (FAILED(palette->GetColorCount(&count)) || count == 0) return nullptr;
    count = count > 256 ? 256 : count;
    std::vector<WICColor> colors(count);
    UINT got = 0;
    if (FAILED(palette->GetColors(count, colors.data(), &got)) || got == 0) return nullptr;
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + got * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(got);
    for (UINT i = 0; i < got; ++i) {
        const WICColor c = colors[i];
        logical->palPalEntry[i] = {static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 0};
    }
    return CreatePalette(logical);
}

}  // namespace

// One picture on its way through WIC: the decoder's first frame, then each step's source.
class WicPictureDecoder : public PictureDecoder {
public:
    explicit WicPictureDecoder(ImageFile& image) : image_(image) {}

    bool Open(const std::string& file, int& width, int& height, int& bits) override
    {
        factory_ = Factory();
        if (!factory_) return false;
        const int length = MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, nullptr, 0);
        if (length <= 0) return false;
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide.data(), length);
        Com<IWICBitmapDecoder> decoder;
        if (FAILED(factory_->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
            FAILED(decoder->GetFrame(0, frame_.Out())))
            return false;
        UINT w = 0, h = 0;
        WICPixelFormatGUID format;
        if (FAILED(frame_->GetSize(&w, &h)) || FAILED(frame_->GetPixelFormat(&format))) return false;
        Com<IWICComponentInfo> info;
        Com<IWICPixelFormatInfo> formatInfo;
        UINT depth = 0;
        if (FAILED(factory_->CreateComponentInfo(format, info.Out())) ||
            FAILED(info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(formatInfo.Out()))) ||
            FAILED(formatInfo->GetBitsPerPixel(&depth)))
            return false;
        if (w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
        width = static_cast<int>(w);
        height = static_cast<int>(h);
        bits = static_cast<int>(depth);
        source_.Assign(frame_.Get());
        return true;
    }

    bool Scale(const PictureSize& size) override
    {
        Com<IWICBitmapScaler> scaler;
        if (FAILED(factory_->CreateBitmapScaler(scaler.Out())) ||
            FAILED(scaler->Initialize(source_.Get(), static_cast<UINT>(size.width), static_cast<UINT>(size.height),
                                      WICBitmapInterpolationModeFant)))
            return false;
        return Step(scaler);
    }

    bool Clip(const PictureSize& size) override
    {
        Com<IWICBitmapClipper> clipper;
        const WICRect part = {0, 0, size.width, size.height};
        if (FAILED(factory_->CreateBitmapClipper(clipper.Out())) || FAILED(clipper->Initialize(source_.Get(), &part)))
            return false;
        return Step(clipper);
    }

    bool Finish(bool withPalette, bool reduceColours) override
    {
        Com<IWICBitmapSource> drawn;
        drawn.Take(source_);
        if (withPalette) {
            Com<IWICPalette> palette;
            if (SUCCEEDED(factory_->CreatePalette(palette.Out())) && SUCCEEDED(frame_->CopyPalette(palette.Get())))
                image_.palette_ = MakePalette(palette.Get());
        }
        if (reduceColours) {
            // A copy in the 256 colours that suit the picture best, with that palette.
            Com<IWICPalette> palette;
            Com<IWICFormatConverter> reduced;
            if (SUCCEEDED(factory_->CreatePalette(palette.Out())) &&
                SUCCEEDED(palette->InitializeFromBitmap(drawn.Get(), 256, FALSE)) &&
                SUCCEEDED(factory_->CreateFormatConverter(reduced.Out())) &&
                SUCCEEDED(reduced->Initialize(drawn.Get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone,
                                              palette.Get(), 0.0, WICBitmapPaletteTypeCustom))) {
                image_.reducedPalette_ = MakePalette(palette.Get());
                drawn.Assign(reduced.Get());
            }
        }
        Com<IWICFormatConverter> converter;
        UINT w = 0, h = 0;
        if (FAILED(factory_->CreateFormatConverter(converter.Out())) ||
            FAILED(converter->Initialize(drawn.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)) ||
            FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0)
            return false;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = static_cast<LONG>(w);
        bi.bmiHeader.biHeight = -static_cast<LONG>(h);  // top-down, as WIC gives the rows
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap) return false;
        const UINT stride = w * 4;
        // Pixels that cannot all be read (a truncated file) make no picture.
        if (FAILED(converter->CopyPixels(nullptr, stride, stride * h, static_cast<BYTE*>(bits)))) {
            DeleteObject(bitmap);
            return false;
        }
        image_.bitmap_ = bitmap;
        return true;
    }

private:
    template <class T>
    bool Step(Com<T>& next)
    {
        source_.Reset();
        if (FAILED(next->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source_.Out())))) return false;
        return true;
    }

    ImageFile& image_;
    IWICImagingFactory* factory_ = nullptr;
    Com<IWICBitmapFrameDecode> frame_;
    Com<IWICBitmapSource> source_;
};

ImageFile::ImageFile(const std::string& file, int fit, const PictureSize* size)
{
    WicPictureDecoder decoder(*this);
    Factory();
    if (!LoadPicture(decoder, file, fit, size, imaging.colorCount, size_)) {
        if (bitmap_) DeleteObject(bitmap_);
        if (palette_) DeleteObject(palette_);
        if (reducedPalette_) DeleteObject(reducedPalette_);
        bitmap_ = nullptr;
        palette_ = reducedPalette_ = nullptr;
        size_ = {};
    }
}

ImageFile::~ImageFile()
{
    if (bitmap_) DeleteObject(bitmap_);
    if (palette_) DeleteObject(palette_);
    if (reducedPalette_) DeleteObject(reducedPalette_);
}

void ImageFile::Draw(HDC dc, int x, int y) const
{
    if (!bitmap_) return;
    HPALETTE oldPalette = nullptr;
    if (HPALETTE palette = GetPalette()) {
        oldPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!AlphaBlend(dc, x, y, size_.width, size_.height, memory, 0, 0, size_.width, size_.height, blend))
        BitBlt(dc, x, y, size_.width, size_.height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

std::unique_ptr<ButtonImage> LoadButtonImage(const std::string& file, int fit, const PictureSize* size)
{
    auto image = std::make_unique<ImageFile>(file, fit, size);
    if (!image->IsLoaded()) return nullptr;
    return image;
}

void ReleaseImaging()
{
    imaging.factory.Reset();
    imaging.tried = false;
}
