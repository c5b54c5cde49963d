/* A reference screen from libvterm: feeds a byte stream to a ROWS x COLS terminal and prints
 * the screen in termfeed's form (rows, then "cursor ROW COL"). Characters of the DEC line-drawing
 * set come back as their DEC letters so they compare with our cells; other characters outside
 * ASCII print as '?'. The stream goes in 4 KiB blocks. With --bench N it is fed N times and the
 * throughput (MiB/s) is printed. With --cells each row's cell colours follow the cursor line
 * (see CellColours).
 *
 *   vterm_screen ROWS COLS FILE [--bench N | --cells]
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <vterm.h>

static const unsigned kDecGraphics[32] = {
    0x00A0, 0x25C6, 0x2592, 0x2409, 0x240C, 0x240D, 0x240A, 0x00B0, 0x00B1, 0x2424, 0x240B,
    0x2518, 0x2510, 0x250C, 0x2514, 0x253C, 0x23BA, 0x23BB, 0x2500, 0x23BC, 0x23BD, 0x251C,
    0x2524, 0x2534, 0x252C, 0x2502, 0x2264, 0x2265, 0x03C0, 0x2260, 0x00A3, 0x00B7};

static char Narrow(uint32_t ch)
{
    if (ch == 0) return ' ';
    if (ch < 0x80) return (char)ch;
    for (int i = 0; i < 32; ++i)
        if (kDecGraphics[i] == ch) return (char)(0x5F + i);
    return '?';
}

/* One hex digit for a colour of the ANSI palette, '-' for the default colour, '?' for others. */
static char ColourDigit(const VTermColor* c, int isDefault)
{
    if (isDefault) return '-';
    if (!VTERM_COLOR_IS_INDEXED(c) || c->indexed.idx > 15) return '?';
    return "0123456789abcdef"[c->indexed.idx];
}

/* Three characters a cell: foreground, background, then the attributes as a hex digit
 * (1 bold, 2 reverse; this libvterm keeps no invisible attribute in its cells). */
static void CellColours(VTermScreen* screen, int rows, int cols)
{
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            VTermScreenCell cell;
            VTermPos pos = {r, c};
            vterm_screen_get_cell(screen, pos, &cell);
            putchar(ColourDigit(&cell.fg, VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)));
            putchar(ColourDigit(&cell.bg, VTERM_COLOR_IS_DEFAULT_BG(&cell.bg)));
            putchar("0123456789abcdef"[(cell.attrs.bold ? 1 : 0) | (cell.attrs.reverse ? 2 : 0)]);
        }
        putchar('\n');
    }
}

static void Output(VTerm* vt, void* user) { (void)vt; (void)user; }
static void Swallow(const char* s, size_t len, void* user) { (void)s; (void)len; (void)user; }

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: vterm_screen ROWS COLS FILE [--bench N]\n");
        return 2;
    }
    int rows = atoi(argv[1]), cols = atoi(argv[2]);
    long repeat = argc >= 6 && strcmp(argv[4], "--bench") == 0 ? atol(argv[5]) : 0;
    int cells = argc >= 5 && strcmp(argv[4], "--cells") == 0;
    FILE* f = fopen(argv[3], "rb");
    if (!f) {
        fprintf(stderr, "vterm_screen: cannot read %s\n", argv[3]);
        return 2;
    }
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    char* data = malloc(size > 0 ? (size_t)size : 1);
    if (fread(data, 1, (size_t)size, f) != (size_t)size) return 2;
    fclose(f);

    VTerm* vt = vterm_new(rows, cols);
    vterm_set_utf8(vt, 0);
    vterm_output_set_callback(vt, Swallow, NULL);
    (void)Output;
    VTermScreen* screen = vterm_obtain_screen(vt);
    vterm_screen_reset(screen, 1);

    if (repeat > 0) {
        struct timespec a, b;
        clock_gettime(CLOCK_MONOTONIC, &a);
        for (long i = 0; i < repeat; ++i)
            for (long at = 0; at < size; at += 4096) vterm_input_write(vt, data + at, (size_t)(size - at < 4096 ? size - at : 4096));
        clock_gettime(CLOCK_MONOTONIC, &b);
        double seconds = (double)(b.tv_sec - a.tv_sec) + (double)(b.tv_nsec - a.tv_nsec) / 1e9;
        printf("%.1f\n", (double)size * (double)repeat / seconds / 1048576.0); /* MiB/s */
        vterm_free(vt);
        return 0;
    }

    for (long at = 0; at < size; at += 4096) vterm_input_write(vt, data + at, (size_t)(size - at < 4096 ? size - at : 4096));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            VTermScreenCell cell;
            VTermPos pos = {r, c};
            vterm_screen_get_cell(screen, pos, &cell);
            putchar(Narrow(cell.chars[0]));
        }
        putchar('\n');
    }
    VTermPos cursor;
    vterm_state_get_cursorpos(vterm_obtain_state(vt), &cursor);
    printf("cursor %d %d\n", cursor.row, cursor.col);
    if (cells) CellColours(screen, rows, cols);
    vterm_free(vt);
    free(data);
    return 0;
}
