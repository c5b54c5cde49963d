// The benchmark's host streams for an 80 x 24 VT screen, each about `size` bytes, always the
// same for the same kind (a fixed pseudo-random sequence).
#pragma once

#include <cstddef>
#include <string>

enum class VtStream { PlainText, ColourCells, CursorMotion, EditorMix, LineScroll, ScreenScroll };

constexpr VtStream kVtStreams[] = {VtStream::PlainText,  VtStream::ColourCells, VtStream::CursorMotion,
                                   VtStream::EditorMix,  VtStream::LineScroll,  VtStream::ScreenScroll};

// How a stream addresses the cursor: CSI row ; column H (VT and the console) or the Wyse
// ESC = row column.
enum class Addressing { Csi, Wyse };

const char* VtStreamName(VtStream kind);
// With `rounds`: when *rounds is 0 it receives the number of rounds made; otherwise exactly that
// many rounds are made (the same content in another addressing).
std::string MakeVtStream(VtStream kind, std::size_t size, Addressing addressing = Addressing::Csi,
                         std::size_t* rounds = nullptr);
