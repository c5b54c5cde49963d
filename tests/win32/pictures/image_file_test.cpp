// Button pictures through WIC, in one process: the quarters picture in six formats at its own
// size and in each fit, hostile files one after another (nothing loads, nothing ends the
// program), and the masked bitmap's transparent drawing over a pattern.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "shell/win32/image_file.h"
#include "shell/win32/masked_bitmap.h"
#include "test_pictures.h"
#include "view_resource_ids.h"

namespace {

// A 32-bit memory surface to draw into and read back.
class Surface {
public:
    Surface(int width, int height, COLORREF fill) : width_(width)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    }
    ~Surface()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    void Set(int x, int y, COLORREF c) { bits_[y * width_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

bool Near(COLORREF a, COLORREF b)  // JPEG is lossy
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 48 && std::abs(GetGValue(a) - GetGValue(b)) < 48 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 48;
}

class Pictures : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "tolvi-pictures-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        quads = WriteQuadPictures(folder);
        hostile = WriteHostilePictures(folder);
    }
    static std::string File(const std::string& name) { return folder + "\\" + name; }

    // The quarters of a picture drawn at (0, 0) with the given size.
    static void ExpectQuarters(const ImageFile& image, int width, int height)
    {
        Surface s(300, 200, RGB(255, 255, 255));
        image.Draw(s.Dc(), 0, 0);
        const int xs[2] = {width / 4, width * 3 / 4}, ys[2] = {height / 4, height * 3 / 4};
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(Near(kQuarterColors[q], s.At(xs[q & 1], ys[q >> 1]))) << "quarter " << q;
        EXPECT_EQ(RGB(255, 255, 255), s.At(width + 1, height / 2));  // nothing drawn beside it
    }

    static std::string folder;
    static std::vector<std::string> quads, hostile;
};
std::string Pictures::folder;
std::vector<std::string> Pictures::quads, Pictures::hostile;

TEST_F(Pictures, SixFormatsAtTheirOwnSize)
{
    ASSERT_EQ((std::vector<std::string>{"quad.bmp", "quad.png", "quad.jpg", "quad.gif", "quad.tif", "quad.ico"}), quads);
    for (const std::string& name : quads) {
        SCOPED_TRACE(name);
        ImageFile image(File(name), kFitOwnSize, nullptr);
        ASSERT_TRUE(image.IsLoaded());
        EXPECT_EQ(kQuadWidth, image.Width());
        EXPECT_EQ(kQuadHeight, image.Height());
        ExpectQuarters(image, kQuadWidth, kQuadHeight);
    }
    ImageFile gif(File("quad.gif"), kFitOwnSize, nullptr);
    EXPECT_NE(nullptr, gif.GetPalette());  // an 8-bit picture has its palette
}

TEST_F(Pictures, EachFit)
{
    const PictureSize room{50, 50}, big{300, 300};
    ImageFile aspect(File("quad.png"), kFitKeepAspect, &room);
    EXPECT_EQ(50, aspect.Width());
    EXPECT_EQ(25, aspect.Height());
    ExpectQuarters(aspect, 50, 25);
    ImageFile stretched(File("quad.bmp"), kFitStretch, &room);
    EXPECT_EQ(50, stretched.Width());
    EXPECT_EQ(50, stretched.Height());
    ExpectQuarters(stretched, 50, 50);
    ImageFile cut(File("quad.tif"), kFitTopLeft, &room);  // the top-left part: all red
    ASSERT_EQ(50, cut.Width());
    Surface s(100, 100, RGB(255, 255, 255));
    cut.Draw(s.Dc(), 0, 0);
    EXPECT_EQ(kQuarterColors[0], s.At(1, 1));
    EXPECT_EQ(kQuarterColors[0], s.At(48, 48));
    ImageFile kept(File("quad.gif"), kFitTopLeft, &big);  // smaller than the room: kept
    EXPECT_EQ(kQuadWidth, kept.Width());
    const PictureSize flat{0, 0};
    ImageFile unsized(File("quad.jpg"), kFitKeepAspect, &flat);  // no room: its own size
    EXPECT_EQ(kQuadWidth, unsized.Width());
}

TEST_F(Pictures, HostileFilesLoadNothingOneAfterAnother)
{
    ASSERT_FALSE(hostile.empty());
    std::vector<std::string> names = hostile;
    names.push_back("missing.png");
    names.push_back("");
    for (const std::string& name : names) {
        for (int fit : {kFitOwnSize, kFitTopLeft}) {
            SCOPED_TRACE(name + " fit " + std::to_string(fit));
            const PictureSize room{50, 50};
            ImageFile image(name.empty() ? folder : File(name), fit, fit == kFitOwnSize ? nullptr : &room);
            EXPECT_FALSE(image.IsLoaded());
            EXPECT_EQ(0, image.Width());
        }
        EXPECT_EQ(nullptr, LoadButtonImage(File(name), kFitOwnSize, nullptr));
    }
    ImageFile after(File("quad.png"), kFitOwnSize, nullptr);  // and the component still works
    EXPECT_TRUE(after.IsLoaded());
}

// The logo drawn with white transparent over stripes: white pixels of the logo keep the stripes,
// the others are the logo's.
TEST(MaskedBitmap, KeyColourKeepsTheBackground)
{
    CMaskedBitmap logo;
    ASSERT_TRUE(logo.LoadBitmap(IDB_LOGO));
    const int w = logo.Width(), h = logo.Height();
    Surface plain(w, h, RGB(0, 0, 0));
    logo.Draw(plain.Dc(), 0, 0);
    auto stripe = [](int x, int y) { return ((x / 3 + y / 5) & 1) ? RGB(10, 200, 30) : RGB(200, 20, 140); };
    // On a target whose origin is moved (a scrolled view) the logo keeps its own size.
    for (const POINT scroll : {POINT{0, 0}, POINT{40, 30}}) {
        SCOPED_TRACE(std::to_string(scroll.x) + "," + std::to_string(scroll.y));
        const int tw = w + 60, th = h + 60;
        Surface target(tw, th, RGB(0, 0, 0));
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x) target.Set(x, y, stripe(x, y));
        SetViewportOrgEx(target.Dc(), -scroll.x, -scroll.y, nullptr);
        logo.DrawTransparent(target.Dc(), 10 + scroll.x, 10 + scroll.y, RGB(255, 255, 255));
        int keyed = 0, drawn = 0;
        for (int y = 0; y < th; ++y) {
            for (int x = 0; x < tw; ++x) {
                const bool inside = x >= 10 && x < 10 + w && y >= 10 && y < 10 + h;
                const COLORREF own = inside ? plain.At(x - 10, y - 10) : RGB(255, 255, 255);
                const COLORREF expected = own == RGB(255, 255, 255) ? stripe(x, y) : own;
                ASSERT_EQ(expected, target.At(x, y)) << x << "," << y;
                if (inside) ++(own == RGB(255, 255, 255) ? keyed : drawn);
            }
        }
        EXPECT_GT(keyed, 0);
        EXPECT_GT(drawn, 0);
    }
}

}  // namespace
