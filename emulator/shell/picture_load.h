// Loading a button's picture: the size rules (a picture too large for memory is reduced, a fit mode
// shapes it to the button) and their order, independent of the imaging component that decodes,
// scales, clips and reads the pixels. Tolvi.exe drives the system's imaging component through
// PictureDecoder; the tests drive a recording one.
#pragma once

#include <cstdint>
#include <string>

struct PictureSize {
    int width = 0, height = 0;
};

// Pixel data larger than this is reduced before anything else is done with the picture.
constexpr uint64_t kLargestPictureBytes = 10000000;
// A picture of more pixels is not loaded: reading such a header's pixels (every step reads
// from the original) holds the program for seconds, and a host can name any file.
constexpr uint64_t kLargestPicturePixels = 50000000;

// Bytes of a bottom-up device-independent bitmap of the picture: rows padded to 32 bits.
uint64_t PictureRowBytes(uint32_t width, uint32_t bitsPerPixel);
uint64_t PictureBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
// 1 when the bytes fit the limit, else the smallest even k (2, 4, 6, ...) with bytes / k at most
// the limit.
uint64_t ReductionDivisor(uint64_t bytes);

// Fit modes of a picture in its button.
enum PictureFit : int {
    kFitKeepAspect = 0,  // scaled into the size keeping its aspect ratio
    kFitStretch = 1,     // resized to exactly the size
    kFitOwnSize = 2,     // its own size
    kFitTopLeft = 3,     // cut to its top-left part when larger than the size
};

// What becomes of a picture of the given size and depth. Each step is skipped when its size is
// 0 x 0: first `reduced` (a smaller copy made from the original), then either `scaled` (from the
// reduced one) or `clipped` (its top-left part). `result` is the size drawn.
struct PicturePlan {
    PictureSize reduced, scaled, clipped, result;
};
// `size` is the button's room for fits 0, 1 and 3 (none: the picture's own size). A size of 0
// or less in either direction keeps the picture's size for fits 0 and 1 and that direction's
// size for fit 3.
PicturePlan PlanPicture(int width, int height, int bitsPerPixel, int fit, const PictureSize* size);

// One picture being loaded by an imaging component.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // Reads the picture's header: false when the file is missing or no picture.
    virtual bool Open(const std::string& file, int& width, int& height, int& bitsPerPixel) = 0;
    // The picture becomes a copy resized to the size (computed from the file as it is read).
    virtual bool Scale(const PictureSize& size) = 0;
    // The picture becomes its top-left part of the size.
    virtual bool Clip(const PictureSize& size) = 0;
    // Reads the pixels for drawing (false when they cannot all be read) and makes the palette:
    // of the picture itself, or of a copy reduced to 256 colours when `reduceColours`.
    virtual bool Finish(bool withPalette, bool reduceColours) = 0;
};

// Loads `file` through the decoder for a button: `screenColours` is the display's colour count
// (more than 256 for every display deeper than 8 bits). False, with nothing loaded, when the file
// does not open, the picture has no width or height or more than kLargestPicturePixels, or a step
// fails; else the size drawn.
bool LoadPicture(PictureDecoder& decoder, const std::string& file, int fit, const PictureSize* size,
                 uint64_t screenColours, PictureSize& result);

// Whether a picture file named by a host may be opened: never a network share (\\server\...,
// //server/...), a device namespace path (\\.\, \\?\) or a device name (CON, NUL, COM1, LPT1 ...,
// with or without an extension or a folder). Local paths are taken as given.
bool HostPictureNameAllowed(const std::string& file);
// A button definition's texts ("picture;text;name;...") as a host sent them, less a picture file
// that a host may not name: such a button is made without its picture.
std::string HostButtonTexts(const char* text);
