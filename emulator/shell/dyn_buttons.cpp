// Screen buttons; see dyn_buttons.h.
#include "shell/dyn_buttons.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "session/session_record.h"

std::map<std::string, std::unique_ptr<DynButton>> DynButtonMap;

namespace {

ButtonView* buttonView = nullptr;
ButtonImageLoader imageLoader = nullptr;

// Host-given positions and sizes are bounded so that no product with a cell size or sum with a
// margin leaves int; a frame deeper than the button is bounded when the button is placed.
constexpr int kLargestDefinitionNumber = 32767;

constexpr int kAutomaticSize = 30;  // a button sized by its image, without one
constexpr uint8_t kHotspotMark = 0x80;

// One pixel larger at the right and bottom, as the frame's last pixels are drawn there.
ButtonRect Widened(ButtonRect r)
{
    r.right += 1;
    r.bottom += 1;
    return r;
}

// A colour index of the definition: 1-19 a palette colour, 0 the configured one, else the default.
uint32_t DefinitionColor(int index, int configured, uint32_t fallback)
{
    if (index <= 0 || index >= kColorIndices) index = configured;
    if (index <= 0 || index >= kColorIndices) return fallback;
    return Rec->ColorPalette[index];
}

ButtonTexts SplitTexts(const char* text)
{
    ButtonTexts parts;
    std::size_t i = 0;
    for (const char* p = text ? text : ""; *p && i < parts.size(); ++p) {
        if (*p == ';') ++i;
        else parts[i] += *p;
    }
    return parts;
}

}  // namespace

void SetButtonView(ButtonView* view) { buttonView = view; }
void SetButtonImageLoader(ButtonImageLoader loader) { imageLoader = loader; }
ButtonView* ActiveButtonView() { return buttonView; }

DynButton::~DynButton()
{
    if (isHotspot && Rec->FlagsScreen) {
        // The mark is on the word's first cell; the button counts columns and rows from 1.
        const int row = cellRect.row - 1, col = cellRect.col - 1;
        if (row >= 0 && row < Rec->MaxRows && col >= 0 && col < Rec->MaxCols)
            Rec->FlagsScreen[row * Rec->MaxCols + col] &= static_cast<uint8_t>(~kHotspotMark);
    }
    if ((!isHotspot || hotspotChanged) && buttonView)
        buttonView->InvalidateButton(Widened(GetScreenRect(buttonView->Geometry())));
}

void DynButton::Init(const std::string& buttonName, int mode, int col, int row, int width, int height, int fit,
                     int dx, int dy, const std::string& buttonText, const std::string& image, int box, int depth,
                     const ButtonGeometry& geometry)
{
    name = buttonName;
    placement = mode;
    cellRect = {col, row, width, height};
    imageFit = fit == 2 && width && height ? 3 : fit;
    offsetX = dx;
    offsetY = dy;
    text = buttonText;
    imageFile = image;
    boxType = box;
    requestedDepth_ = depth;
    Place(geometry, false);
}

PictureSize DynButton::FitSize(bool replacement) const
{
    const int64_t extra = replacement ? 1 : -1, frame = 2 * int64_t{boxDepth};
    auto room = [&](int side) { return static_cast<int>(std::clamp<int64_t>(side - frame + extra, -1, INT32_MAX)); };
    return {room(placedWidth_), room(placedHeight_)};
}

void DynButton::Place(const ButtonGeometry& g, bool replacement)
{
    placedBy_ = g;
    const int frame = g.frameSize;
    // A grid of no columns or rows counts as one, never a division by zero.
    const int gridCols = std::max(cellRect.width, 1), gridRows = std::max(cellRect.height, 1);
    int left = 0, top = 0, right = cellRect.width, bottom = cellRect.height;
    originX = originY = 0;
    switch (placement) {
    case 1:
        originX = (cellRect.col - 1) * g.cellWidth + g.left;
        originY = (cellRect.row - 1) * g.cellHeight + g.top;
        right = cellRect.width * g.cellWidth - 1;
        bottom = cellRect.height * g.cellHeight - 1;
        break;
    case 3:
    case 4:
    case 5:
    case 6: {
        int e = 0, d = 0;
        if (placement == 3 || placement == 4) {
            e = g.viewWidth / gridCols;
            d = ((placement == 3 ? g.top : g.bottom) - frame) / gridRows;
        } else {
            e = ((placement == 5 ? g.left : g.right) - frame) / gridCols;
            d = (g.viewHeight - g.top - g.bottom) / gridRows;
        }
        originX = (cellRect.col - 1) * e;
        originY = (cellRect.row - 1) * d;
        if (placement == 4) originY += g.viewHeight - g.bottom + frame;
        if (placement == 5 || placement == 6) originY += g.top - frame;
        if (placement == 6) originX += g.viewWidth - g.right + frame;
        right = e - 1;
        bottom = d - 1;
        break;
    }
    default:
        left = cellRect.col;
        top = cellRect.row;
        break;
    }
    placedWidth_ = right;
    placedHeight_ = bottom;
    // The frame takes at most half the smaller side (a host may ask for any depth); a button
    // sized by its picture is bounded again once the picture's size is known.
    const bool automatic = right <= 0 && bottom <= 0;
    auto bound = [this](int w, int h) { boxDepth = std::clamp(requestedDepth_, 0, std::max(std::min(w, h) / 2, 0)); };
    bound(automatic ? kAutomaticSize : right, automatic ? kAutomaticSize : bottom);
    if (automatic) boxDepth = std::max(requestedDepth_, 0);

    image.reset();
    if (!imageFile.empty() && imageLoader) {
        const PictureSize room = FitSize(replacement);
        image = imageLoader(imageFile, imageFit, imageFit == kFitOwnSize ? nullptr : &room);
    }
    left -= offsetX;
    top -= offsetY;
    if (automatic) {
        // Sized by the picture; without one, the automatic size.
        const int w = image ? image->Width() : kAutomaticSize, h = image ? image->Height() : kAutomaticSize;
        rect = {left, top, left + w, top + h};
        bound(w, h);
    } else {
        rect = {left, top, left + right, top + bottom};
    }
}

ButtonRect DynButton::GetScreenRect(const ButtonGeometry& g) const
{
    ButtonRect r = rect;
    if (placement != 2) {
        r.left += originX;
        r.right += originX;
        r.top += originY;
        r.bottom += originY;
    }
    r.left -= g.scrollX;
    r.right -= g.scrollX;
    r.top -= g.scrollY;
    r.bottom -= g.scrollY;
    return r;
}

int DynButton::HitTest(int x, int y, int mask, const ButtonGeometry& g) const
{
    if (hidden || !GetScreenRect(g).Contains(x, y)) return 0;
    if ((mask & 1) && (!clickLeft.empty() || !clickLeft2.empty())) return 1;
    if ((mask & 2) && (!clickRight.empty() || !clickRight2.empty())) return 1;
    return 0;
}

void DynButton::Press(ButtonView& view)
{
    pressState = 1;
    view.PaintButton(*this);
}

void DynButton::Release(ButtonView& view)
{
    pressState = 2;
    view.PaintButton(*this);
}

void DynButton::SetState(int kind, ButtonView& view)
{
    const ButtonGeometry g = view.Geometry();
    if (kind == 0 || kind == 1) {
        if ((hidden & 0x7F) == kind) return;
        hidden = kind != 0;
        view.InvalidateButton(Widened(GetScreenRect(g)));
        return;
    }
    if (kind != 2) return;
    const ButtonGeometry& p = placedBy_;
    const bool same = p.cellWidth == g.cellWidth && p.cellHeight == g.cellHeight && p.viewWidth == g.viewWidth &&
                      p.viewHeight == g.viewHeight && p.left == g.left && p.top == g.top && p.right == g.right &&
                      p.bottom == g.bottom;
    if (same) return;
    view.InvalidateButton(Widened(GetScreenRect(g)));
    if (imageFit == kFitOwnSize && cellRect.width && cellRect.height) imageFit = kFitTopLeft;
    Place(g, true);
    view.InvalidateButton(Widened(GetScreenRect(g)));
}

bool CreateDynButton(ViewWindow window, const int* numbers, int count, const char* text, int isHotspot)
{
    return CreateDynButton(window, numbers, count, SplitTexts(text), isHotspot);
}

bool CreateDynButton(ViewWindow, const int* numbers, int count, const ButtonTexts& t, int isHotspot)
{
    if (isHotspot ? !Rec->EnableDynamicHotspots : !Rec->EnableHotspots) return false;
    int n[12] = {1, 0, 0, 0, 0, 0, 0, 2, 2, 2, 0, 0};
    for (int i = 0; i < count && i < 12; ++i)
        n[i] = std::clamp(numbers[i], -kLargestDefinitionNumber, kLargestDefinitionNumber);
    std::string name = !t[2].empty() ? t[2] : (!t[1].empty() ? t[1] : t[0]);
    if (name.empty() || !buttonView) return false;
    DynButtonMap.erase(name);
    auto button = std::make_unique<DynButton>();
    button->Init(name, n[0], n[1], n[2], n[3], n[4], n[7], n[5], n[6], t[1], t[0], n[8], n[9], buttonView->Geometry());
    button->textColor = DefinitionColor(n[10], Rec->HotspotFgColor, kDefaultTextColor);
    button->faceColor = DefinitionColor(n[11], Rec->HotspotBgColor, kDefaultFaceColor);
    button->clickLeft = t[4];
    button->clickRight = t[5];
    button->clickLeft2 = t[6];
    button->clickRight2 = t[7];
    button->isHotspot = isHotspot;
    buttonView->PaintButton(*button);
    DynButtonMap[name] = std::move(button);
    return true;
}

std::vector<std::string> DynButtonNames()
{
    std::vector<std::string> names;
    for (const auto& entry : DynButtonMap) names.push_back(entry.first);
    return names;
}

int DynButtonHotspotFlag(const std::string& name)
{
    auto found = DynButtonMap.find(name);
    return found == DynButtonMap.end() ? 0 : found->second->isHotspot;
}

void DeleteDynButton(const std::string& name) { DynButtonMap.erase(name); }
