// 64-bit positions in C streams on every runtime (a long is 32 bits on Win64).
#pragma once

#include <cstdint>
#include <cstdio>

inline int64_t TellFile64(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return static_cast<int64_t>(ftello(file));
#endif
}

inline int SeekFile64(std::FILE* file, int64_t position, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, position, origin);
#else
    return fseeko(file, static_cast<off_t>(position), origin);
#endif
}
