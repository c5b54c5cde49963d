// Prints the screen of the running Tolvi (24 rows of 80 columns) as its DDE server gives it, for
// the end-to-end tests that check what was displayed character by character. Exit code 1 when the
// server did not answer.
#include <cstdio>
#include <string>

#include "tolvi_screen.h"

int main()
{
    TolviScreen screen;
    if (!screen.Connect(20000)) return 1;
    const std::string text = screen.Text(80, 24);
    if (text.empty()) return 1;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
