// The record defaults that come from the real system: the screen width (GetSystemMetrics) picks
// the fonts, the [intl] iCountry value of win.ini picks the country, language and 3270 code table.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/charsets.h"
#include "engine/screen_planes.h"
#include "shell/record_defaults.h"
#include "session/session_record.h"
#include "win32_platform.h"

namespace {

class Win32Defaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPlatform(&platform);
        char saved[32] = {};
        hadCountry = GetProfileStringA("intl", "iCountry", "", saved, sizeof saved) > 0;
        savedCountry = saved;
    }
    void TearDown() override
    {
        WriteProfileStringA("intl", "iCountry", hadCountry ? savedCountry.c_str() : nullptr);
        FreeScreenBuffers();
        SetPlatform(nullptr);
    }
    bool Defaults()
    {
        TranslateTables tables;
        return SetRecordDefaults(*Rec, true, false, AllocScreenBuffers, tables);
    }

    Win32Platform platform;
    bool hadCountry = false;
    std::string savedCountry;
};

TEST_F(Win32Defaults, FontsFollowTheRealScreenWidth)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_GT(width, 0);
    EXPECT_EQ(platform.ScreenWidth(), width);
    ASSERT_TRUE(Defaults());
    EXPECT_STREQ(Rec->Font80Cols.FaceName, "Courier New");
    // The test prefix runs a 1024x768 virtual desktop.
    if (width == 1024) {
        EXPECT_EQ(Rec->Font80Cols.Height, -20);
        EXPECT_EQ(Rec->Font132Cols.Height, -12);
        EXPECT_EQ(Rec->Font80Cols.Weight, 700);
    }
}

TEST_F(Win32Defaults, CountryComesFromWinIni)
{
    ASSERT_TRUE(WriteProfileStringA("intl", "iCountry", "49"));
    EXPECT_EQ(platform.WindowsCountry(), 49);
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(Rec->Country, 49);
    EXPECT_EQ(Rec->Language, 49);
    EXPECT_EQ(Rec->Charset3270, 4 + NationalSetForCountry(49));

    ASSERT_TRUE(WriteProfileStringA("intl", "iCountry", nullptr));
    EXPECT_EQ(platform.WindowsCountry(), 1);
}

}  // namespace
