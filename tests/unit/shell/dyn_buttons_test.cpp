// Screen buttons without windows: placement in every mode, hit test, re-placement, the button
// definition of host commands and hotspot words, and the words found on the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/screen_planes.h"
#include "shell/dyn_buttons.h"
#include "shell/dyn_hotspots.h"
#include "session/session_record.h"

namespace {

class RecordingView : public ButtonView {
public:
    ButtonGeometry Geometry() override { return geometry; }
    void InvalidateButton(const ButtonRect& r) override { invalidated.push_back(r); }
    void PaintButton(const DynButton& b) override { painted.push_back(b.name); }
    ButtonGeometry geometry{8, 16, 800, 500, 40, 50, 60, 70, 7, 0, 0};
    std::vector<ButtonRect> invalidated;
    std::vector<std::string> painted;
};

class Buttons : public testing::Test {
protected:
    void SetUp() override
    {
        std::memset(static_cast<void*>(Rec), 0, sizeof *Rec);
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        ASSERT_EQ(1, AllocScreenBuffers());
        for (int i = 0; i < kColorIndices; ++i) Rec->ColorPalette[i] = 0x02000000u + static_cast<uint32_t>(i);
        Rec->EnableHotspots = Rec->EnableDynamicHotspots = 1;
        SetButtonView(&view);
    }
    void TearDown() override
    {
        DynButtonMap.clear();
        SetButtonView(nullptr);
        FreeScreenBuffers();
    }
    static void Expect(const ButtonRect& r, int l, int t, int rt, int b)
    {
        EXPECT_EQ(l, r.left);
        EXPECT_EQ(t, r.top);
        EXPECT_EQ(rt, r.right);
        EXPECT_EQ(b, r.bottom);
    }
    RecordingView view;
};

TEST_F(Buttons, PlacementModes)
{
    const struct { int mode, col, row, width, height, dx, dy; ButtonRect at; } cases[] = {
        {1, 3, 2, 6, 1, 0, 0, {56, 66, 103, 81}},   // text cells, 1-based
        {3, 2, 1, 4, 1, 0, 0, {200, 0, 399, 42}},   // second quarter of the band above
        {4, 1, 1, 2, 1, 0, 0, {0, 437, 399, 499}},  // band below
        {5, 1, 2, 1, 2, 0, 0, {0, 233, 32, 422}},   // band left, second row
        {6, 1, 1, 1, 1, 0, 0, {747, 43, 799, 422}}, // band right
        {2, 10, 20, 30, 40, 5, 6, {5, 14, 35, 54}}, // pixels less the offset
        {2, 10, 20, 0, 0, 0, 0, {10, 20, 40, 50}},  // no size, no image: 30 x 30
        {3, 1, 1, 0, 0, 0, 0, {0, 0, 799, 42}},     // a grid of no columns is one, not a division by 0
    };
    for (const auto& c : cases) {
        DynButton b;
        b.Init("b", c.mode, c.col, c.row, c.width, c.height, 2, c.dx, c.dy, "", "", 2, 2, view.geometry);
        SCOPED_TRACE(c.mode);
        Expect(b.GetScreenRect(view.geometry), c.at.left, c.at.top, c.at.right, c.at.bottom);
    }
    ButtonGeometry scrolled = view.geometry;
    scrolled.scrollX = 5;
    scrolled.scrollY = 10;
    DynButton b;
    b.Init("b", 1, 3, 2, 6, 1, 2, 0, 0, "", "", 2, 2, view.geometry);
    Expect(b.GetScreenRect(scrolled), 51, 56, 98, 71);
}

TEST_F(Buttons, HitTestAndStates)
{
    DynButton b;
    b.Init("b", 1, 3, 2, 6, 1, 2, 0, 0, "Go", "", 2, 2, view.geometry);
    b.clickLeft = "<cr>";
    EXPECT_EQ(1, b.HitTest(60, 70, 1, view.geometry));
    EXPECT_EQ(0, b.HitTest(60, 70, 2, view.geometry));  // no right action
    EXPECT_EQ(0, b.HitTest(30, 70, 1, view.geometry));  // outside
    b.SetState(1, view);
    EXPECT_EQ(0, b.HitTest(60, 70, 1, view.geometry));
    b.SetState(1, view);  // already hidden: nothing to repaint
    EXPECT_EQ(1u, view.invalidated.size());
    b.SetState(0, view);
    b.SetState(2, view);  // the geometry did not change
    EXPECT_EQ(2u, view.invalidated.size());
    view.geometry.left = 100;
    b.SetState(2, view);  // old and new area repainted
    ASSERT_EQ(4u, view.invalidated.size());
    Expect(b.GetScreenRect(view.geometry), 116, 66, 163, 81);
    Expect(view.invalidated[3], 116, 66, 164, 82);  // one pixel larger at the right and bottom
}

TEST_F(Buttons, DefinitionsOfHostCommands)
{
    Rec->HotspotFgColor = 3;
    const int numbers[] = {1, 1, 1, 2, 1, 0, 0, 2, 1, 3, 0, 14, 99, 99};
    ASSERT_TRUE(CreateDynButton(nullptr, numbers, 14, "pic.bmp;Go;;;<cr>;<esc>;l2;r2;extra", 0));
    ASSERT_EQ(1u, DynButtonMap.count("Go"));  // no name: the text names it
    const DynButton& b = *DynButtonMap.at("Go");
    EXPECT_EQ("pic.bmp", b.imageFile);
    EXPECT_EQ("<esc>", b.clickRight);
    EXPECT_EQ("r2", b.clickRight2);
    EXPECT_EQ(1, b.boxType);
    EXPECT_EQ(3, b.boxDepth);
    EXPECT_EQ(0x02000003u, b.textColor);  // 0: the configured hotspot colour
    EXPECT_EQ(0x02000000u + 14, b.faceColor);
    EXPECT_EQ(std::vector<std::string>{"Go"}, view.painted);
    EXPECT_EQ(std::vector<std::string>{"Go"}, DynButtonNames());

    Rec->HotspotFgColor = 0;
    EXPECT_TRUE(CreateDynButton(nullptr, numbers, 2, "pic.bmp", 0));  // only an image: its name
    EXPECT_EQ(kDefaultTextColor, DynButtonMap.at("pic.bmp")->textColor);
    EXPECT_EQ(1, DynButtonMap.at("pic.bmp")->placement);  // missing numbers take their defaults
    EXPECT_FALSE(CreateDynButton(nullptr, numbers, 2, ";;", 0));  // no name at all
    Rec->EnableDynamicHotspots = 0;
    EXPECT_FALSE(CreateDynButton(nullptr, numbers, 2, ";Word;", 1));
    EXPECT_TRUE(CreateDynButton(nullptr, numbers, 2, ";Word;", 0));
    Rec->EnableHotspots = 0;
    EXPECT_FALSE(CreateDynButton(nullptr, numbers, 2, ";Off;", 0));
    SetButtonView(nullptr);
    Rec->EnableHotspots = 1;
    EXPECT_FALSE(CreateDynButton(nullptr, numbers, 2, ";NoView;", 0));
    SetButtonView(&view);
    DeleteDynButton("Go");
    EXPECT_EQ(0u, DynButtonMap.count("Go"));
}

// A hotspot button leaves the mark of its word's first cell cleared when it goes, and touches no
// other cell (the button counts from 1, the planes from 0); a button at column 0 writes nothing.
TEST_F(Buttons, HotspotMarkClearedOnItsOwnCell)
{
    const int numbers[] = {1, 4, 3, 2, 1};
    ASSERT_TRUE(CreateDynButton(nullptr, numbers, 5, ";ab;h1;;x;", 1));
    Rec->FlagsScreen[2 * 80 + 3] = 0x88;
    Rec->FlagsScreen[3 * 80 + 4] = 0x80;
    DeleteDynButton("h1");
    EXPECT_EQ(0x08, Rec->FlagsScreen[2 * 80 + 3]);
    EXPECT_EQ(0x80, Rec->FlagsScreen[3 * 80 + 4]);
    EXPECT_TRUE(view.invalidated.empty());  // its word is still there: no repaint
    const int outside[] = {1, 0, 0, 2, 1};
    ASSERT_TRUE(CreateDynButton(nullptr, outside, 5, ";ab;h2;;x;", 1));
    DeleteDynButton("h2");
}

TEST_F(Buttons, HotspotWords)
{
    std::strcpy(Rec->ExtraDynWordChars, "-_");
    Rec->DynamicRow = 2;
    Rec->DynamicColumn = 3;
    Rec->DynamicHeight = 3;   // rows 1 and 2
    Rec->DynamicWidth = 20;   // columns 2 to 23
    auto put = [](int row, int col, const char* text, uint8_t flags = 0) {
        for (int i = 0; text[i]; ++i) {
            Rec->CharsScreen[row * 80 + col + i] = static_cast<uint8_t>(text[i]);
            Rec->FlagsScreen[row * 80 + col + i] = flags;
        }
    };
    put(1, 0, "ab cd-ef gh x12 lqqk last end");
    put(1, 17, "qq", 0x08);  // line-drawing cells break words
    put(1, 13, "_", 0x08);   // except '_' (here a word character)
    put(2, 2, "wordwordwordwordword long");
    put(0, 5, "row0");       // outside the area
    const std::vector<HotspotWord> words = FindHotspotWords(*Rec, CellSpan{0, 23, 0, 79});
    std::vector<std::string> texts;
    for (const HotspotWord& w : words) texts.push_back(std::to_string(w.row) + ":" + std::to_string(w.first) + " " + w.text);
    // "ab" starts left of the area; "last" runs past column 23; the long word ends at column 21.
    EXPECT_EQ((std::vector<std::string>{"1:3 cd-ef", "1:9 gh", "1:12 x_2", "1:16 l", "1:19 k", "2:2 wordwordwordwordword"}),
              texts);
    // Only the repainted columns' words, each from its start.
    const std::vector<HotspotWord> part = FindHotspotWords(*Rec, CellSpan{1, 1, 6, 10});
    ASSERT_EQ(2u, part.size());
    EXPECT_EQ("cd-ef", part[0].text);
    EXPECT_EQ("gh", part[1].text);
}

TEST_F(Buttons, HotspotButtonColours)
{
    Rec->DynamicDepth = 3;
    Rec->FgScreen[5] = 4;
    Rec->BgScreen[5] = 13;
    const struct { int fgSetting, bgSetting, text, face; } cases[] = {
        {0, 0, 0, 0}, {1, 1, 4, 13}, {10, 10, 13, 4}, {11, 11, 14, 3}, {7, 9, 7, 9},
    };
    for (const auto& c : cases) {
        Rec->DynamicFgColor = c.fgSetting;
        Rec->DynamicBgColor = c.bgSetting;
        const HotspotButtonDefinition d = HotspotButton(*Rec, HotspotWord{0, 5, 8, "WORD"}, "MgX7", "<f1>");
        EXPECT_EQ(c.text, d.numbers[10]);
        EXPECT_EQ(c.face, d.numbers[11]);
        EXPECT_EQ((std::vector<int>{1, 6, 1, 4, 1, 0, 0, 2, 2, 3}), std::vector<int>(d.numbers, d.numbers + 10));
        EXPECT_EQ(";WORD;MgX7;;<f1>;", d.text);
    }
}

// Pictures: the room each fit is given (less the frame; one pixel more at a re-placement), the
// automatic size taken from the picture, and a frame never deeper than half the button.
struct LoadedPicture {
    std::string file;
    int fit;
    bool sized;
    PictureSize room;
};
std::vector<LoadedPicture> loadedPictures;

class FakePicture : public ButtonImage {
public:
    int Width() const override { return 40; }
    int Height() const override { return 20; }
};

std::unique_ptr<ButtonImage> LoadFakePicture(const std::string& file, int fit, const PictureSize* size)
{
    loadedPictures.push_back({file, fit, size != nullptr, size ? *size : PictureSize{}});
    if (file == "missing.png") return nullptr;
    return std::make_unique<FakePicture>();
}

TEST_F(Buttons, PicturesAndTheirRoom)
{
    SetButtonImageLoader(LoadFakePicture);
    loadedPictures.clear();
    DynButton fitted;
    fitted.Init("f", 2, 0, 0, 60, 30, 0, 0, 0, "", "p.png", 2, 3, view.geometry);
    ASSERT_EQ(1u, loadedPictures.size());
    EXPECT_EQ(0, loadedPictures[0].fit);
    EXPECT_TRUE(loadedPictures[0].sized);
    EXPECT_EQ(60 - 6 - 1, loadedPictures[0].room.width);
    EXPECT_EQ(30 - 6 - 1, loadedPictures[0].room.height);
    view.geometry.cellWidth = 9;  // re-placed: the picture is fitted again, one pixel larger
    fitted.SetState(2, view);
    ASSERT_EQ(2u, loadedPictures.size());
    EXPECT_EQ(60 - 6 + 1, loadedPictures[1].room.width);

    DynButton own;  // fit 2 without a size: the picture's own size, and the button takes it
    own.Init("o", 2, 10, 10, 0, 0, 2, 0, 0, "", "p.png", 2, 2, view.geometry);
    EXPECT_FALSE(loadedPictures.back().sized);
    Expect(own.GetScreenRect(view.geometry), 10, 10, 50, 30);
    DynButton cut;  // fit 2 with a size becomes 3
    cut.Init("c", 2, 10, 10, 20, 20, 2, 0, 0, "", "p.png", 2, 2, view.geometry);
    EXPECT_EQ(3, loadedPictures.back().fit);
    DynButton none;  // a picture that does not load: 30 x 30
    none.Init("n", 2, 10, 10, 0, 0, 2, 0, 0, "t", "missing.png", 2, 2, view.geometry);
    EXPECT_EQ(nullptr, none.image);
    Expect(none.GetScreenRect(view.geometry), 10, 10, 40, 40);

    // A host's frame depth is bounded by the button (a depth of 2,000,000,000 looped the painter).
    DynButton deep;
    deep.Init("d", 2, 0, 0, 60, 30, 2, 0, 0, "t", "", 2, 2000000000, view.geometry);
    EXPECT_EQ(15, deep.boxDepth);
    DynButton deepAuto;
    deepAuto.Init("a", 2, 0, 0, 0, 0, 2, 0, 0, "", "p.png", 2, 2000000000, view.geometry);
    EXPECT_EQ(10, deepAuto.boxDepth);
    SetButtonImageLoader(nullptr);
}

TEST_F(Buttons, HostNumbersAreBoundedAndNetworkPicturesDropped)
{
    const int huge = 2000000000;
    const int numbers[] = {1, huge, -huge, huge, huge, huge, -huge, 0, 2, huge, 0, 0};
    ASSERT_TRUE(CreateDynButton(nullptr, numbers, 12, ";big", 0));
    const DynButton& b = *DynButtonMap.at("big");
    EXPECT_EQ(32767, b.cellRect.col);
    EXPECT_EQ(-32767, b.cellRect.row);
    const ButtonRect r = b.GetScreenRect(view.geometry);  // computed without overflow (UBSan)
    EXPECT_LT(r.left, r.right);

    EXPECT_EQ(";text;name", HostButtonTexts("\\\\server\\share\\p.bmp;text;name"));
    EXPECT_EQ(";t", HostButtonTexts("NUL;t"));
    EXPECT_EQ("C:\\p\\logo.png;text", HostButtonTexts("C:\\p\\logo.png;text"));
    EXPECT_EQ(";text", HostButtonTexts(";text"));
}

}  // namespace
