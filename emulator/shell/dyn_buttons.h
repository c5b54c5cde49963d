// Screen buttons: rectangles the terminal view draws over the screen (no windows of their own),
// each with a face colour, an optional text, a 3-D frame and up to four action strings. They come
// from host commands, HotScreen rules and the dynamic-hotspot words; all live in one map by name.
// This part is window-free: placement, hit test, state; the view paints them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_types.h"
#include "shell/picture_load.h"

struct ButtonRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Meets(const ButtonRect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// The view's geometry a button is placed by (pixels): cell size, the view's total size, the
// grid's margins, the frame size and the scroll position.
struct ButtonGeometry {
    int cellWidth = 0, cellHeight = 0;
    int viewWidth = 0, viewHeight = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int frameSize = 0;
    int scrollX = 0, scrollY = 0;
};

class DynButton;

// What buttons need of the terminal view. The view installs itself; without one no button is made.
class ButtonView {
public:
    virtual ~ButtonView() = default;
    virtual ButtonGeometry Geometry() = 0;
    // Invalidates a rectangle of the view (client pixels).
    virtual void InvalidateButton(const ButtonRect& rect) = 0;
    virtual void PaintButton(const DynButton& button) = 0;
};
void SetButtonView(ButtonView* view);
ButtonView* ActiveButtonView();

// A button's picture, loaded by the program's imaging component (none installed: no pictures).
class ButtonImage {
public:
    virtual ~ButtonImage() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
// Loads `file` with the fit mode into `size` (none: its own size); null when it does not load.
using ButtonImageLoader = std::unique_ptr<ButtonImage> (*)(const std::string& file, int fit, const PictureSize* size);
void SetButtonImageLoader(ButtonImageLoader loader);

constexpr uint32_t kDefaultFaceColor = 0x02C0C0C0;
constexpr uint32_t kDefaultTextColor = 0x02FF0000;

class DynButton {
public:
    DynButton() = default;
    // Deleting a hotspot button clears the hotspot mark of its word's first cell; the area is
    // repainted unless it is a hotspot button whose word is still there.
    virtual ~DynButton();
    DynButton(const DynButton&) = delete;
    DynButton& operator=(const DynButton&) = delete;

    // Stores the definition and places the button. Placement modes: 1 text cells (1-based column
    // and row, width and height in cells); 3 to 6 a grid in the band above, below, left of or
    // right of the text (column, row of a grid of width x height); any other: pixels.
    void Init(const std::string& name, int placement, int col, int row, int width, int height, int imageFit,
              int offsetX, int offsetY, const std::string& text, const std::string& imageFile, int boxType,
              int boxDepth, const ButtonGeometry& geometry);
    // The room the picture is fitted into: the rectangle less the frame, one pixel smaller at
    // creation and one larger at a re-placement (as the buttons have always been drawn).
    PictureSize FitSize(bool replacement) const;
    // The rectangle in view client pixels.
    ButtonRect GetScreenRect(const ButtonGeometry& geometry) const;
    // 0 outside or hidden; mask bit 0: a left action exists; bit 1: a right action exists.
    int HitTest(int x, int y, int mask, const ButtonGeometry& geometry) const;
    // 0 shows, 1 hides, 2 places again after the view's geometry changed.
    void SetState(int kind, ButtonView& view);
    // Draws the button pressed (pressState 1) or released (2).
    void Press(ButtonView& view);
    void Release(ButtonView& view);

    std::string name, text, imageFile;
    std::string clickLeft, clickRight, clickLeft2, clickRight2;
    int placement = 0;
    struct CellRect {
        int col = 0, row = 0, width = 0, height = 0;
    } cellRect;  // the position and size as passed, in the units of the placement mode
    int offsetX = 0, offsetY = 0;
    int imageFit = 0;
    int isHotspot = 0, hotspotChanged = 0;
    int hidden = 0;
    int boxType = 2, boxDepth = 2;  // boxDepth at most half the button's smaller side
    std::unique_ptr<ButtonImage> image;
    uint32_t faceColor = kDefaultFaceColor, textColor = kDefaultTextColor;
    int pressState = 2;  // 1 pressed, 2 released
    ButtonRect rect;     // relative to the origin
    int originX = 0, originY = 0;

private:
    void Place(const ButtonGeometry& g, bool replacement);
    ButtonGeometry placedBy_{};
    int requestedDepth_ = 2;
    int placedWidth_ = 0, placedHeight_ = 0;  // before an automatic size
};

// The program's buttons by name (owned).
extern std::map<std::string, std::unique_ptr<DynButton>> DynButtonMap;

// The definition of a button: up to twelve numbers (placement, column, row, width, height, offset
// x and y, image fit, box type, box depth, text colour index, face colour index) and up to eight
// texts separated by ';' (image file, text, name, -, click left, click right, second left, second
// right). Refused (false) when the kind is switched off, without a name or without a view. A
// button of the same name is replaced. The new button is painted once.
bool CreateDynButton(ViewWindow window, const int* numbers, int count, const char* text, int isHotspot);
// The same with the eight texts given one by one (a text may hold ';').
using ButtonTexts = std::array<std::string, 8>;
bool CreateDynButton(ViewWindow window, const int* numbers, int count, const ButtonTexts& texts, int isHotspot);
// The names in the map, in map order; a button's hotspot flag; deleting one by name.
std::vector<std::string> DynButtonNames();
int DynButtonHotspotFlag(const std::string& name);
void DeleteDynButton(const std::string& name);
