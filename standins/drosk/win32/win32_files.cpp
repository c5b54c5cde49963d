// Placeholder for the Win32 file access of Drosk.dll.
