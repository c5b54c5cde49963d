#include "main_view_layout.h"

bool LayoutMainView(int w, int h, int cw, int ch, int lh, MainViewLayout& l)
{
    if (w < 1 || h < 1 || ch < 1)
        return false;
    constexpr int m = 16;
    const int half = ch / 2;
    l.progressBox = {m, m, w - 2 * m, 2 * ch + 10};
    l.progressText = {m, 2 * ch + 10, w - 2 * m, 3 * ch + m};
    l.logBox = {m, 3 * ch + m, w - 2 * m, h - m};
    const int rows = (l.logBox.bottom - l.logBox.top - half) / ch;
    l.rows = rows > 0 ? rows : 0;
    l.scrollBar = {w - 2 * m, 3 * ch + m, w - 2 * m + 16, 3 * ch + m + (h - 2 * m - 3 * ch)};
    l.logText = {2 * cw, 5 * ch + half, w - 2 * m - 1, lh * l.rows + half + 4 * ch};
    l.lineX = m + cw;
    l.firstLineY = half + 4 * ch;
    l.newestLineY = (l.rows - 1) * lh + half + 4 * ch;
    l.newestLine = {2 * cw, l.newestLineY, w - 2 * m - 1, l.newestLineY + lh};
    return true;
}
