// A reference screen from the headless terminal of the node package @xterm/headless: feeds a
// byte stream to a ROWS x COLS terminal and prints the screen in termfeed's form. DEC
// line-drawing characters come back as their DEC letters; other non-ASCII characters as '?'.
// With --bench N the stream is fed N times and the throughput (MB/s) is printed. With --cells
// each row's cell colours follow the cursor line: three characters a cell, the foreground and
// the background (a hex digit of the ANSI palette, '-' for the default colour, '?' for others)
// and the attributes as a hex digit (1 bold, 2 reverse, 4 invisible).
//
//   node xterm_screen.js MODULE_DIR ROWS COLS FILE [--bench N | --cells]
'use strict';
const fs = require('fs');
const path = require('path');

const [moduleDir, rowsText, colsText, file, benchFlag, benchCount] = process.argv.slice(2);
const { Terminal } = require(path.join(moduleDir, 'node_modules', '@xterm', 'headless'));
const rows = Number(rowsText);
const cols = Number(colsText);
const data = fs.readFileSync(file);

const decGraphics = [
  0x00a0, 0x25c6, 0x2592, 0x2409, 0x240c, 0x240d, 0x240a, 0x00b0, 0x00b1, 0x2424, 0x240b,
  0x2518, 0x2510, 0x250c, 0x2514, 0x253c, 0x23ba, 0x23bb, 0x2500, 0x23bc, 0x23bd, 0x251c,
  0x2524, 0x2534, 0x252c, 0x2502, 0x2264, 0x2265, 0x03c0, 0x2260, 0x00a3, 0x00b7,
];
function narrow(text) {
  if (text === '') return ' ';
  const code = text.codePointAt(0);
  if (code < 0x80) return text[0];
  const i = decGraphics.indexOf(code);
  return i >= 0 ? String.fromCharCode(0x5f + i) : '?';
}

const term = new Terminal({ rows, cols, allowProposedApi: true, scrollback: 0 });
// Bytes, not UTF-8: each byte is one character, as on the terminals compared.
const text = data.toString('latin1');

if (benchFlag === '--bench') {
  const repeat = Number(benchCount);
  const started = process.hrtime.bigint();
  let pending = repeat;
  const feed = () => {
    if (pending-- > 0) term.write(text, feed);
    else {
      const seconds = Number(process.hrtime.bigint() - started) / 1e9;
      console.log(((data.length * repeat) / seconds / 1048576).toFixed(1));
    }
  };
  feed();
} else {
  term.write(text, () => {
    const buffer = term.buffer.active;
    const out = [];
    for (let r = 0; r < rows; ++r) {
      const line = buffer.getLine(buffer.viewportY + r);
      let row = '';
      for (let c = 0; c < cols; ++c) {
        const cell = line ? line.getCell(c) : undefined;
        row += cell ? narrow(cell.getChars()) : ' ';
      }
      out.push(row);
    }
    out.push(`cursor ${buffer.cursorY} ${buffer.cursorX}`);
    if (benchFlag === '--cells') {
      const digit = (isDefault, isPalette, colour) =>
        isDefault ? '-' : isPalette && colour < 16 ? colour.toString(16) : '?';
      for (let r = 0; r < rows; ++r) {
        const line = buffer.getLine(buffer.viewportY + r);
        let row = '';
        for (let c = 0; c < cols; ++c) {
          const cell = line.getCell(c);
          const attributes = (cell.isBold() ? 1 : 0) | (cell.isInverse() ? 2 : 0) | (cell.isInvisible() ? 4 : 0);
          row += digit(cell.isFgDefault(), cell.isFgPalette(), cell.getFgColor());
          row += digit(cell.isBgDefault(), cell.isBgPalette(), cell.getBgColor());
          row += attributes.toString(16);
        }
        out.push(row);
      }
    }
    process.stdout.write(out.join('\n') + '\n');
  });
}
