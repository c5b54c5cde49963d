// The caption buttons of every window are drawn with the Marlett symbol font: the prefix has it
// (else Wine substitutes a text font and each button shows the letter "r").
#include <gtest/gtest.h>

#include <windows.h>

TEST(CaptionFont, MarlettIsInstalled)
{
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = SelectObject(screen, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(screen, sizeof face, face);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, "Marlett");
}
