#include "listing_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "ftp_engine.h"
#include "ftp_log.h"
#include "listing_parsers.h"
#include "match_mask.h"

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

void CloseReader()
{
    FtpSessionState& ftp = Ftp();
    if (ftp.listingReader != nullptr) {
        std::fclose(ftp.listingReader);
        ftp.listingReader = nullptr;
    }
}

// Reads one whole line without its line end; false at the end of the file. `cut` tells whether
// the line was longer than the longest line kept.
bool ReadLine(std::FILE* file, std::string& line, bool& cut)
{
    line.clear();
    cut = false;
    int c;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() < kMaxListingLine)
            line += static_cast<char>(c);
        else
            cut = true;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

void CopyOut(char* buffer, std::size_t size, const std::string& text)
{
    if (buffer == nullptr || size == 0)
        return;
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

int ftp_list_to_file(FtpSocket control, const char* command)
{
    FtpSessionState& ftp = Ftp();
    const int savedBeep = ftp.beep;
    ftp.beep = 0;
    CloseReader();
    if (!ftp.retainListings && !ftp.listingFile.empty())
        std::remove(ftp.listingFile.c_str());
    char name[32];
    std::snprintf(name, sizeof name, "tvftp%03d.dir", ftp.listingCounter++);
    ftp.listingFile = ftp.tempDir + kPathSeparator + name;
    ftp.listingActive = 1;
    const int result = ftp_transfer_receive(control, command, ftp.listingFile.c_str(), 'A', 0);
    ftp.listingActive = 0;
    ftp.beep = savedBeep;
    return result;
}

int ListingFindFirst(const char* mask, int wantDirectories, char* name, std::size_t nameSize, char* info,
                     std::size_t infoSize, int* kind)
{
    FtpSessionState& ftp = Ftp();
    CloseReader();
    ftp.listingReader = std::fopen(ftp.listingFile.c_str(), "rb");
    if (ftp.listingReader == nullptr) {
        ftp_log_printf("Couldn't open Temporary Directory File for reading: %s\n", ftp.listingFile.c_str());
        errno = ENOENT;
        return 1;
    }
    ftp.listingMask.assign(mask != nullptr ? mask : "*");
    if (ftp.listingMask.size() > kMaxListingMask)
        ftp.listingMask.resize(kMaxListingMask);
    ftp.listingWantDirs = wantDirectories;
    ftp.listingPendingColumn = 0;
    return ListingParser(name, nameSize, info, infoSize, kind);
}

int ListingParser(char* name, std::size_t nameSize, char* info, std::size_t infoSize, int* kind)
{
    FtpSessionState& ftp = Ftp();
    if (ftp.listingReader == nullptr) {
        errno = ENOENT;
        return 1;
    }
    ListingEntry entry;
    for (;;) {
        std::size_t column = ftp.listingPendingColumn;
        if (column == 0) {
            bool cut = false;
            if (!ReadLine(ftp.listingReader, ftp.listingLine, cut)) {
                CloseReader();
                errno = ENOENT;
                return 1;
            }
            // The name of a cut line, or one cut to the caller's buffer, would be another file's.
            if (cut) {
                ftp_log_printf("Listing line of more than %u characters skipped", static_cast<unsigned>(kMaxListingLine));
                continue;
            }
            if (ftp.listingLine.empty())
                continue;
        }
        ParseListingLine(ftp.hostType, ftp.listingLine, column, entry, ftp.listingPendingColumn);
        if (entry.kind == kEntrySkip)
            continue;
        if (name != nullptr && entry.name.size() >= nameSize) {
            ftp_log_printf("Listed name of %u characters skipped", static_cast<unsigned>(entry.name.size()));
            continue;
        }
        if (!ftp.listingWantDirs && entry.kind != kEntryFile)
            continue;
        if (ftp.utf8) {
            // A name of a UTF-8 server that has no form here is reported and left out: it is
            // never shown, nor stored, changed.
            std::string local;
            if (!ftp.host->NameFromServer(entry.name, local)) {
                ftp_error_printf("Name left out, it has no form in this character set: %s", entry.name.c_str());
                continue;
            }
            entry.name = local;
        }
        if (!MatchMask(entry.name.c_str(), ftp.listingMask.c_str(), 0))
            continue;
        if (kind != nullptr)
            *kind = entry.kind;
        CopyOut(name, nameSize, entry.name);
        if (entry.hasInfo)
            CopyOut(info, infoSize, entry.info);
        return 0;
    }
}
