// Button pictures without an imaging component: the size rules of the fit modes, the reduction of
// pictures too large for memory, the order of the loading steps, and the file names a host may give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/picture_load.h"

namespace {

TEST(PictureSizes, BytesAndReductionIn64Bits)
{
    EXPECT_EQ(4u, PictureRowBytes(1, 1));
    EXPECT_EQ(8u, PictureRowBytes(33, 1));
    EXPECT_EQ(12u, PictureRowBytes(3, 32));
    EXPECT_EQ(160000ull * 40000, PictureBytes(40000, 40000, 32));  // past 32 bits
    EXPECT_EQ(1u, ReductionDivisor(kLargestPictureBytes));
    EXPECT_EQ(2u, ReductionDivisor(kLargestPictureBytes + 1));
    EXPECT_EQ(4u, ReductionDivisor(3 * kLargestPictureBytes));
    EXPECT_EQ(640u, ReductionDivisor(PictureBytes(40000, 40000, 32)));
}

TEST(PictureSizes, PlanOfEachFit)
{
    const PictureSize room{50, 50}, none{0, 0}, wide{0, 40};
    const struct {
        int width, height, bits, fit;
        const PictureSize* size;
        PictureSize reduced, scaled, clipped, result;
    } cases[] = {
        {200, 100, 24, kFitKeepAspect, &room, {}, {50, 25}, {}, {50, 25}},
        {100, 200, 24, kFitKeepAspect, &room, {}, {25, 50}, {}, {25, 50}},
        {10, 10, 24, kFitKeepAspect, &room, {}, {50, 50}, {}, {50, 50}},     // enlarged too
        {5000, 1, 24, kFitKeepAspect, &room, {}, {50, 1}, {}, {50, 1}},      // never 0 high
        {200, 100, 24, kFitKeepAspect, &none, {}, {}, {}, {200, 100}},       // no room: own size
        {200, 100, 24, kFitStretch, &room, {}, {50, 50}, {}, {50, 50}},
        {200, 100, 24, kFitStretch, &wide, {}, {}, {}, {200, 100}},
        {200, 100, 24, kFitTopLeft, &room, {}, {}, {50, 50}, {50, 50}},
        {200, 30, 24, kFitTopLeft, &room, {}, {}, {50, 30}, {50, 30}},
        {20, 30, 24, kFitTopLeft, &room, {}, {}, {}, {20, 30}},              // smaller: kept
        {200, 100, 24, kFitTopLeft, &wide, {}, {}, {200, 40}, {200, 40}},    // 0 wide: own width
        {200, 100, 24, kFitOwnSize, nullptr, {}, {}, {}, {200, 100}},
        // Too large for memory without a size: reduced by the computed size, whatever the file says.
        {4000, 1000, 24, kFitOwnSize, nullptr, {2000, 500}, {}, {}, {2000, 500}},
        {40000, 40000, 32, kFitOwnSize, nullptr, {62, 62}, {}, {}, {62, 62}},
        {1, 100000000, 1, kFitOwnSize, nullptr, {1, 2500000}, {}, {}, {1, 2500000}},
    };
    auto same = [](const PictureSize& a, const PictureSize& b) { return a.width == b.width && a.height == b.height; };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " fit " + std::to_string(c.fit));
        const PicturePlan plan = PlanPicture(c.width, c.height, c.bits, c.fit, c.size);
        EXPECT_TRUE(same(c.reduced, plan.reduced));
        EXPECT_TRUE(same(c.scaled, plan.scaled));
        EXPECT_TRUE(same(c.clipped, plan.clipped));
        EXPECT_TRUE(same(c.result, plan.result));
    }
}

// Records the steps; the picture's header and the step that fails are set by the test.
class RecordingDecoder : public PictureDecoder {
public:
    bool Open(const std::string&, int& w, int& h, int& bits) override
    {
        steps.push_back("open");
        w = width;
        h = height;
        bits = depth;
        return opens;
    }
    bool Scale(const PictureSize& s) override
    {
        steps.push_back("scale " + std::to_string(s.width) + "x" + std::to_string(s.height));
        return true;
    }
    bool Clip(const PictureSize& s) override
    {
        steps.push_back("clip " + std::to_string(s.width) + "x" + std::to_string(s.height));
        return true;
    }
    bool Finish(bool palette, bool reduce) override
    {
        steps.push_back(std::string("finish") + (palette ? " palette" : "") + (reduce ? " reduce" : ""));
        return pixelsRead;
    }
    int width = 200, height = 100, depth = 24;
    bool opens = true, pixelsRead = true;
    std::vector<std::string> steps;
};

TEST(PictureLoading, StepsInOrderAndEveryFailureLeavesNothing)
{
    using Steps = std::vector<std::string>;
    const PictureSize room{50, 50};
    PictureSize result;
    {
        RecordingDecoder d;
        EXPECT_TRUE(LoadPicture(d, "a.png", kFitKeepAspect, &room, 1u << 24, result));
        EXPECT_EQ((Steps{"open", "scale 50x25", "finish"}), d.steps);
        EXPECT_EQ(50, result.width);
        EXPECT_EQ(25, result.height);
    }
    {
        // The reduced copy is made by scaling the file, never by reading it whole first.
        RecordingDecoder d;
        d.width = 7000;
        d.height = 7000;
        d.depth = 32;
        EXPECT_TRUE(LoadPicture(d, "large.bmp", kFitOwnSize, nullptr, 1u << 24, result));
        EXPECT_EQ((Steps{"open", "scale 350x350", "finish"}), d.steps);
        // More pixels than any button picture needs (a header of 40000 x 40000): not read at all.
        RecordingDecoder e;
        e.width = e.height = 40000;
        EXPECT_FALSE(LoadPicture(e, "huge.bmp", kFitOwnSize, nullptr, 1u << 24, result));
        EXPECT_EQ((Steps{"open"}), e.steps);
    }
    {
        // Palettes: of an 8-bit picture; a reduced copy on a display of 256 colours.
        RecordingDecoder d;
        d.depth = 8;
        EXPECT_TRUE(LoadPicture(d, "p.gif", kFitOwnSize, nullptr, 256, result));
        EXPECT_EQ((Steps{"open", "finish palette reduce"}), d.steps);
        RecordingDecoder e;
        e.depth = 4;
        EXPECT_TRUE(LoadPicture(e, "p.bmp", kFitTopLeft, &room, 256, result));
        EXPECT_EQ((Steps{"open", "clip 50x50", "finish palette"}), e.steps);
    }
    for (const int zero : {0, 1}) {
        // No width or height: refused before any palette or pixel work.
        RecordingDecoder d;
        (zero ? d.width : d.height) = 0;
        EXPECT_FALSE(LoadPicture(d, "z.bmp", kFitOwnSize, nullptr, 1u << 24, result));
        EXPECT_EQ((Steps{"open"}), d.steps);
    }
    RecordingDecoder missing;
    missing.opens = false;
    EXPECT_FALSE(LoadPicture(missing, "none.png", kFitOwnSize, nullptr, 1u << 24, result));
    RecordingDecoder truncated;  // the header reads, the pixels do not
    truncated.pixelsRead = false;
    EXPECT_FALSE(LoadPicture(truncated, "cut.png", kFitOwnSize, nullptr, 1u << 24, result));
    RecordingDecoder unnamed;
    EXPECT_FALSE(LoadPicture(unnamed, "", kFitOwnSize, nullptr, 1u << 24, result));
    EXPECT_TRUE(unnamed.steps.empty());
}

TEST(PictureLoading, FileNamesAHostMayGive)
{
    const struct {
        const char* name;
        bool allowed;
    } cases[] = {
        {"logo.bmp", true},
        {"C:\\pictures\\logo.png", true},
        {"..\\up\\logo.png", true},
        {"pictures/console.png", true},
        {"\\\\server\\share\\logo.bmp", false},
        {"//server/share/logo.bmp", false},
        {"\\\\?\\C:\\logo.bmp", false},
        {"\\\\.\\COM1", false},
        {"CON", false},
        {"nul.png", false},
        {"C:\\temp\\aux.bmp", false},
        {"com7", false},
        {"LPT1:", false},
        {"conin$", false},
        {"prn .bmp", false},
        {"COM10.bmp", true},
        {"console.bmp", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.allowed, HostPictureNameAllowed(c.name)) << c.name;
}

}  // namespace
