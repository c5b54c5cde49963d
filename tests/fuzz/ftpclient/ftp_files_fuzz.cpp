// The files TolviFTP reads that a server or another program may have written: a fetched listing
// file read back entry by entry (each name then becomes a local file name), TOLVIFTP.INI (the
// sites, the general settings and the [FileNameTranslations] rules) and the version and readme
// files the install start logs.
//
// Input: byte 0 picks the reader (and its options), byte 1 the host type of a listing or the
// site number of a write; the rest is the file. Listing files live in memory-backed /dev/shm;
// the settings file is served from memory.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_list_entries.h"
#include "file_name_translations.h"
#include "ftp_engine.h"
#include "ftp_log_ring.h"
#include "ftp_session.h"
#include "general_settings.h"
#include "install_rules.h"
#include "listing_parsers.h"
#include "listing_reader.h"
#include "shell/native_profile.h"
#include "site_store.h"
#include "transfer_walk.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// A local name stays in the chosen folder: no folder part, no drive, no control character.
void CheckLocalName(const std::string& local)
{
    if (local.empty() || local == "." || local == "..") Fail("an empty or dot local name");
    for (char c : local)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) Fail("a local name leaves the folder");
}

void Listing(uint8_t options, uint8_t hostType, const std::string& text)
{
    static const std::string file = "/dev/shm/tolvi-listing-fuzz-" + std::to_string(getpid()) + ".dir";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) std::abort();
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);

    ResetFtpSession();
    FtpSessionState& ftp = Ftp();
    ftp.listingFile = file;
    ftp.hostType = hostType % (kHostTypeMax + 1);
    static const char* const kMasks[] = {"*", "*.*", "a*", "?*.txt"};
    char name[260];
    char info[128];
    int kind = 0;
    int entries = 0;
    for (int found = ListingFindFirst(kMasks[(options >> 3) & 3], options & 0x20, name, sizeof name, info, sizeof info, &kind);
         found == 0; found = ListingParser(name, sizeof name, info, sizeof info, &kind)) {
        if (++entries > 100000) Fail("more entries than the listing holds");
        std::string local;
        if (ReceiveDestination(name, local)) CheckLocalName(local);
        const std::string sent = SendDestination(name);
        if (sent.find('/') != std::string::npos || sent.find('\\') != std::string::npos) Fail("a sent name with a folder");
        // The remote list's line (its columns' sizes grouped) gives the listed name back whole.
        if (EntryName(RemoteEntry(name, false, info)) != name) Fail("a listed name changed in the remote list");
    }
    ResetFtpSession();
}

class ProfileSource : public FtpSettingsSource {
public:
    ProfileSource(NativeProfile& profile, const char* file) : profile_(profile), file_(file) {}
    std::string Value(const char* section, const char* key, const char* fallback) override
    {
        char value[512];
        profile_.GetString(section, key, fallback, value, sizeof value, file_);
        return value;
    }
    std::vector<std::string> Keys(const char* section) override { return profile_.KeyNames(section, file_); }
    std::vector<std::string> Environment() override { return {"TEMP=/fuzz/temp"}; }
    bool IsDirectory(const std::string&) override { return false; }
    int MakeDirectory(const std::string&) override { return 13; }  // nothing is created

private:
    NativeProfile& profile_;
    const char* file_;
};

void Settings(uint8_t options, uint8_t number, const std::string& text)
{
    static NativeProfile profile;
    static const char kFile[] = "TOLVIFTP.INI";
    profile.ServeFromMemory(kFile, text);

    ProfileSource source(profile, kFile);
    const FtpGeneralSettings general = LoadGeneralSettings(source);
    if (general.tempDir.size() > kFtpMaxPath) Fail("a temporary folder longer than a path");

    SiteStore store(profile, kFile);
    store.LoadNumbers();
    for (int number : store.Numbers())
        if (number != -1 && (number < 1 || number > 99)) Fail("a site number outside 1..99");
    for (const std::string& name : store.Names()) {
        const int n = store.FindByName(name);
        if (n < 1) Fail("a listed site is not found by its name");
        const SiteRecord site = store.Read(n);
        if (site.password.size() > kSiteTextMax || site.host.size() > kSiteTextMax) Fail("a site text too long");
        // What is read writes back and reads as itself, blanks and quotes around a value too.
        if (options & 0x10) {
            // The listed name may differ from the site's in case: the default is the site's.
            const bool isDefault = store.IsDefault(site.name);
            if (!store.Write(n, site, isDefault)) Fail("a site does not write");
            const SiteRecord again = store.Read(n);
            const std::string SiteRecord::*const texts[] = {
                &SiteRecord::name,      &SiteRecord::host,           &SiteRecord::user,
                &SiteRecord::localDirectory, &SiteRecord::remoteDirectory, &SiteRecord::localMask,
                &SiteRecord::remoteMask, &SiteRecord::script};
            for (const auto text : texts)
                if (again.*text != site.*text) Fail("a site reads back differently");
            // A password is kept only when the site saves it; one in the stored "?...?" form
            // is written as it is (and so reads back unscrambled).
            const bool keptAsIs = LoginPassword(site.password) != site.password;
            if (!keptAsIs && again.password != (site.savePassword ? site.password : std::string()))
                Fail("a site's password reads back differently");
            if (again.mode != site.mode) Fail("a site's mode reads back differently");
            if (store.IsDefault(site.name) != isDefault) Fail("the default site reads back differently");
        }
    }
    if (options & 0x20) {
        const int n = 1 + number % 99;
        store.Delete(n);
        (void)store.NewNumber();
    }
}

void Translations(uint8_t options, const std::string& text)
{
    const std::vector<std::string> lines = ProfileSectionLines(text, kTranslationSection);
    std::vector<FileNameTranslation> rules = TranslationsFromLines(lines);
    for (const FileNameTranslation& rule : rules) {
        (void)EditValuesOf(rule);
        (void)CheckEndings(rule.local, rule.remote);
    }
    static const char* const kNames[] = {"index.html", "a.htm", "readme", ".profile", "x.tar.Z"};
    for (const char* name : kNames) {
        for (int direction : {kTranslateSending, kTranslateReceiving}) {
            const std::string translated = TranslateFileName(rules, name, direction);
            if (translated.find('/') != std::string::npos || translated.find('\\') != std::string::npos)
                Fail("a translated name leaves its folder");
        }
    }
    if (options & 0x10) SortTranslations(rules);
    const std::string written = ReplaceProfileSection(text, kTranslationSection, TranslationLines(rules));
    (void)TranslationsFromLines(ProfileSectionLines(written, kTranslationSection));
}

void InstallFiles(const std::string& text)
{
    static FtpLogRing ring;
    std::vector<std::string> lines = TextLines(text.substr(0, 10000));
    if (std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r")) {
        for (std::string& line : ReadmeLogLines(file)) {
            if (line.size() > 160) Fail("a readme line longer than its buffer");
            lines.push_back(std::move(line));
        }
        std::fclose(file);
    }
    for (const std::string& line : lines) {
        const std::string stamped = LogStamp(12, 0, 0) + line;
        ring.Add(stamped);
        (void)LogLineColour(stamped);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetSizeSeparator(",");
    if (size < 2 || size > 1 << 20) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    switch (data[0] & 3) {
    case 0: Listing(data[0], data[1], text); break;
    case 1: Settings(data[0], data[1], text); break;
    case 2: Translations(data[0], text); break;
    default: InstallFiles(text); break;
    }
    return 0;
}
