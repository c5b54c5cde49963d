// The [TolviFTP] section of TOLVIFTP.INI as the client reads it at start-up, the choice of its
// temporary folder, and the list of site numbers. Reading goes through FtpSettingsSource, so the
// rules run without the system's profile functions.
#pragma once

#include <array>
#include <string>
#include <vector>

// Longest folder name the client works with (the system's MAX_PATH less the terminating NUL).
constexpr std::size_t kFtpMaxPath = 259;
constexpr int kFtpSiteSlots = 100;

class FtpSettingsSource {
public:
    virtual ~FtpSettingsSource() = default;
    // The value of a key of TOLVIFTP.INI (fallback when it is missing).
    virtual std::string Value(const char* section, const char* key, const char* fallback) = 0;
    // The key names of a section, in file order.
    virtual std::vector<std::string> Keys(const char* section) = 0;
    // The process environment as "NAME=value" entries.
    virtual std::vector<std::string> Environment() = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    // Creates one folder; 0 or the C error number.
    virtual int MakeDirectory(const std::string& path) = 0;
};

struct FtpGeneralSettings {
    std::string defaultSite = "DefaultSite";
    std::string email;
    std::string tempDir;
    std::string logFile;
    bool enableLog = false;
    bool retain = false;
    bool autoDelete = false;
    bool autoName = false;
    bool confirm = false;
    bool verbose = false;
    bool debug = false;
    bool warningIfZeroLength = false;
    bool autoSizeWindow = true;
    bool appendMode = false;
    bool avoidZero = true;
    // Site numbers in [SiteNumbers] order; -1 ends the list, 0 is a deleted site.
    std::array<int, kFtpSiteSlots> siteNumbers{};

    // What settling the temporary folder has to report: 0 nothing, 3046 the folder was created,
    // 3045 it could not be (tempDirError holds the C error number).
    int tempDirMessage = 0;
    int tempDirError = 0;
};

// "on" in any case is true, everything else false.
bool FtpProfileFlag(const std::string& value);

// The folder named by the environment variable TEMP when it exists, else by TMP when that exists,
// else "c:\temp". Only the variables of exactly these names count (the case of the name is
// ignored, as the system does).
std::string ChooseTempDir(const std::vector<std::string>& environment, FtpSettingsSource& source);

// The start-up load of the general settings; settles and creates the temporary folder.
FtpGeneralSettings LoadGeneralSettings(FtpSettingsSource& source);

// The port override found in the registry or the profile: a value outside 1..65535 is none (0).
int PortOverrideFrom(long long value);
