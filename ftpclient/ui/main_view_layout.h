// The rectangles of the main view: the progress box and its text line at the top, the log box
// with its scroll bar below, and where the log's lines go.
#pragma once

struct FtpRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct MainViewLayout {
    FtpRect progressBox;
    FtpRect progressText;
    FtpRect logBox;
    FtpRect logText;
    FtpRect scrollBar;  // left, top, and right/bottom as the far corner
    FtpRect newestLine;
    int rows = 0;
    int lineX = 0;
    int firstLineY = 0;
    int newestLineY = 0;
};

// The layout of a client area w × h with the font's average width cw, character height ch and
// line height lh. False (and nothing set) when the area is empty.
bool LayoutMainView(int w, int h, int cw, int ch, int lh, MainViewLayout& layout);
