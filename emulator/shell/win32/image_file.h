// A screen button's picture, loaded through the system's imaging component (WIC): decoded from
// the file, reduced or fitted as the button asks (shell/picture_load.h), read once into a 32-bit
// DIB section with its palette, and drawn from there. A picture that does not load, or a system
// without the imaging component, leaves the object empty and says nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "shell/dyn_buttons.h"

class ImageFile : public ButtonImage {
public:
    // `size`: the room of fits 0, 1 and 3 (none: the picture's own size, reduced when it is too
    // large for memory).
    ImageFile(const std::string& file, int fit, const PictureSize* size);
    ~ImageFile() override;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool IsLoaded() const { return bitmap_ != nullptr; }
    int Width() const override { return size_.width; }
    int Height() const override { return size_.height; }
    // The palette of the reduced copy when there is one, else the picture's (or none).
    HPALETTE GetPalette() const { return reducedPalette_ ? reducedPalette_ : palette_; }
    // Draws the picture at its own size at (x, y), blending its transparent parts.
    void Draw(HDC dc, int x, int y) const;

private:
    HBITMAP bitmap_ = nullptr;
    PictureSize size_;
    HPALETTE palette_ = nullptr, reducedPalette_ = nullptr;
    friend class WicPictureDecoder;
};

// The loader screen buttons use (SetButtonImageLoader): an ImageFile, or null when it did not load.
std::unique_ptr<ButtonImage> LoadButtonImage(const std::string& file, int fit, const PictureSize* size);
// Lets go of the imaging component (at exit; the next load creates it again).
void ReleaseImaging();
