// The files of a transfer. The window-free build uses the C library; Drosk.dll links the
// Win32 version (win32/win32_files.cpp), which keeps others from writing a file while it moves.
#pragma once

#include <cstdint>

namespace drosk {

struct KmFile;

// Null when the file cannot be opened.
KmFile* OpenForRead(const char* path);
KmFile* CreateForWrite(const char* path);
// Bytes read (0 at the end), or -1 on failure.
int ReadFile(KmFile* f, void* buffer, int count);
// True when all bytes were written.
bool WriteFile(KmFile* f, const void* data, int count);
// The size of an open file, -1 when unknown.
int64_t FileSize(KmFile* f);
// Closes the file; true when everything written reached it.
bool CloseFile(KmFile* f);
void RemoveFile(const char* path);

}  // namespace drosk
