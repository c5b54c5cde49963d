// The benchmark's host streams for an 80 x 24 VT screen, each about `size` bytes, always the
// same for the same kind (a fixed pseudo-random sequence).
#pragma once

#include <cstddef>
#include <string>

enum class VtStream { PlainText, ColourCells, CursorMotion, EditorMix, LineScroll, ScreenScroll };

constexpr VtStream kVtStreams[] = {VtStream::PlainText,  VtStream::ColourCells, VtStream::CursorMotion,
                                   VtStream::EditorMix,  VtStream::LineScroll,  VtStream::ScreenScroll};

const char* VtStreamName(VtStream kind);
std::string MakeVtStream(VtStream kind, std::size_t size);
