#include "general_settings.h"

#include "site_store.h"

#include <cerrno>
#include <strings.h>

namespace {

constexpr const char* kSection = "TolviFTP";

// The value of an environment entry whose name is exactly `name` (case ignored), or nothing.
bool EnvironmentValue(const std::vector<std::string>& environment, const char* name, std::string& value)
{
    const std::size_t length = std::char_traits<char>::length(name);
    for (const std::string& entry : environment) {
        if (entry.size() > length && entry[length] == '=' && strncasecmp(entry.c_str(), name, length) == 0) {
            value = entry.substr(length + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

bool FtpProfileFlag(const std::string& value) { return strcasecmp(value.c_str(), "on") == 0; }

std::string ChooseTempDir(const std::vector<std::string>& environment, FtpSettingsSource& source)
{
    for (const char* name : {"TEMP", "TMP"}) {
        std::string value;
        if (EnvironmentValue(environment, name, value) && !value.empty() && source.IsDirectory(value))
            return value;
    }
    return "c:\\temp";
}

FtpGeneralSettings LoadGeneralSettings(FtpSettingsSource& source)
{
    FtpGeneralSettings s;
    auto flag = [&](const char* key, bool fallback) {
        return FtpProfileFlag(source.Value(kSection, key, fallback ? "on" : "off"));
    };
    s.defaultSite = source.Value(kSection, "DefaultSite", "DefaultSite");
    s.email = source.Value(kSection, "Email", "");
    s.tempDir = source.Value(kSection, "TempDir", "");
    s.enableLog = flag("EnableLog", false);
    s.retain = flag("Retain", false);
    s.autoDelete = flag("AutoDelete", false);
    s.autoName = flag("AutoName", false);
    s.confirm = flag("Confirm", false);
    s.verbose = flag("Verbose", false);
    s.debug = flag("Debug", false);
    s.warningIfZeroLength = flag("WarningIfZeroLength", false);
    s.autoSizeWindow = flag("AutoSizeWindow", true);
    s.appendMode = flag("AppendMode", false);
    s.avoidZero = flag("AvoidZero", true);

    if (s.tempDir.empty())
        s.tempDir = ChooseTempDir(source.Environment(), source);
    if (!source.IsDirectory(s.tempDir)) {
        // A name longer than the system takes is reported as such, never cut to fit.
        s.tempDirError = s.tempDir.size() > kFtpMaxPath ? ENAMETOOLONG : source.MakeDirectory(s.tempDir);
        s.tempDirMessage = s.tempDirError != 0 ? 3045 : 3046;
    }
    std::string folder = s.tempDir;
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    s.logFile = source.Value(kSection, "LogFile", (folder + "\\TOLVIFTP.LOG").c_str());

    s.siteNumbers = SiteNumbersFromKeys(source.Keys("SiteNumbers"));
    return s;
}

int PortOverrideFrom(long long value) { return value >= 1 && value <= 65535 ? static_cast<int>(value) : 0; }
