// Private-profile files ("[section]" headers and "key=value" lines) behind one small interface.
//
// The session configuration (.wcf) is read and written only through these calls. Tolvi.exe
// installs the platform's own profile functions; the native tests and the fuzz targets use
// NativeProfile, which keeps the same rules in plain C++.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The value of key in section (both compared without case), or the default when the key is
    // missing. The enclosing quotes of a value are removed. At most size - 1 characters are copied
    // and the output is always terminated (size > 0). Returns the number of characters copied.
    virtual std::size_t GetString(const char* section, const char* key, const char* fallback,
                                  char* out, std::size_t size, const char* file) = 0;

    // The value read as a decimal integer (leading blanks and a sign allowed); the default when the
    // key is missing or empty.
    virtual unsigned GetInt(const char* section, const char* key, int fallback, const char* file) = 0;

    // Stores key=value in section, creating the file, the section or the key as needed.
    // Returns false when the file cannot be written.
    virtual bool WriteString(const char* section, const char* key, const char* value,
                             const char* file) = 0;

    // True when the section exists and holds at least one key.
    virtual bool SectionHasKeys(const char* section, const char* file) = 0;

    // The names of the keys of section that have a value ("key=value" lines), in file order;
    // empty when the file or the section is missing.
    virtual std::vector<std::string> KeyNames(const char* section, const char* file) = 0;

    // Removes key from section; true when it is gone afterwards (also when it never was).
    virtual bool DeleteKey(const char* section, const char* key, const char* file) = 0;

    // Removes the section with all its keys; true when it is gone afterwards.
    virtual bool DeleteSection(const char* section, const char* file) = 0;
};

// The store the shell uses (NativeProfile until a program installs another). Not owned.
ProfileStore& Profiles();
void SetProfiles(ProfileStore* store);
