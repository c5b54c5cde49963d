// Pictures for the button tests, written with the system's imaging component: a 200 x 100
// picture of four coloured quarters in BMP, PNG, JPEG, GIF, TIFF and ICO, and hostile files
// (empty, truncated, no width or height, absurd sizes, no picture, a format WIC refuses).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The quarters: top-left, top-right, bottom-left, bottom-right.
constexpr COLORREF kQuarterColors[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
constexpr int kQuadWidth = 200, kQuadHeight = 100;

// Writes quad.bmp, quad.png, quad.jpg, quad.gif, quad.tif and quad.ico into the folder (which
// must exist); returns the file names written (all six, or the test fails on the missing ones).
std::vector<std::string> WriteQuadPictures(const std::string& folder);
// Writes the hostile files into the folder; returns their names.
std::vector<std::string> WriteHostilePictures(const std::string& folder);
