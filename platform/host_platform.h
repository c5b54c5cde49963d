// The window-free code's one door to the operating system.
//
// Interpreters, the screen model and the record defaults never include <windows.h>. What they need
// of the platform (screen metrics, the Windows country code, message boxes, memory for the screen
// planes, code-page conversion) they ask of the HostPlatform that the program installed: the Win32 one in Tolvi.exe and
// the Windows test programs, a fake in the native tests.
#pragma once

#include <cstddef>
#include <cstdint>

class HostPlatform {
public:
    virtual ~HostPlatform() = default;

    // Width of the primary screen in pixels.
    virtual int ScreenWidth() = 0;
    // The [intl] "iCountry" value of the Windows settings; 1 when it is absent.
    virtual int WindowsCountry() = 0;
    // A modal message to the user: string-table id and its text (already formatted).
    virtual void ShowMessage(int stringId, const char* text) = 0;

    // Memory for the large screen buffers; tests make it fail to exercise the fallbacks.
    virtual void* AllocBlock(std::size_t bytes);
    virtual void FreeBlock(void* block);

    // The code-page conversions (the system's CharToOemBuff / OemToCharBuff): `length` bytes from
    // source to destination, which may be the same buffer. The default converts between the
    // fixed pages 437 and 1252 (code_pages.h).
    virtual void AnsiToOemBytes(const uint8_t* source, uint8_t* destination, std::size_t length);
    virtual void OemToAnsiBytes(const uint8_t* source, uint8_t* destination, std::size_t length);
};

// The installed platform; a do-nothing one (screen 1024 wide, country 1) until a program installs
// its own. The pointer is not owned.
HostPlatform& Platform();
void SetPlatform(HostPlatform* platform);
// Counts the SetPlatform calls, so that callers that cache answers of the platform (code-page
// tables) know when to ask again. Read inline: the VT writer asks for every run of characters.
extern unsigned PlatformGenerationCount;
inline unsigned PlatformGeneration() { return PlatformGenerationCount; }
