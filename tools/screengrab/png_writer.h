// A minimal PNG encoder: 8-bit RGB, no filtering, stored (uncompressed) deflate blocks.
// Screenshots are small enough that compression is not worth a dependency.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds width * height * 3 bytes, rows top to bottom. Returns false when the file
// cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
