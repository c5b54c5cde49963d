// Fuzzes what the FTP client reads from script files: the word reader over any bytes, and whole
// scripts through the interpreter in syntax-test mode (every command's argument checks, `call`
// chains into the same file up to the depth limit), against a session that does nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ftp_script.h"

#ifdef _WIN32
#include <process.h>
#define FUZZ_PID _getpid()
#else
#include <unistd.h>
#define FUZZ_PID getpid()
#endif

namespace {

class QuietHost : public ScriptHost {
public:
    void Log(const std::string&) override {}
    void SetTitle(const std::string&) override {}
    SiteRecord& Site() override { return site; }
    FtpGeneralSettings& Settings() override { return settings; }
    std::string& LocalFile() override { return local; }
    std::string& RemoteFile() override { return remote; }
    void TransferFlagsChanged() override {}
    bool ApiStarted() override { return true; }
    int StartApi() override { return 0; }
    void SetVerbose(bool) override {}
    void SetDebug(bool) override {}
    std::string SetRetain(bool) override { return "x.dir"; }
    void SetListingFile(const std::string&) override {}
    int SetHostType(int type) override { return type > 16 ? -1 : type; }
    void SetTimeout(int) override {}
    int Chmod(const std::string&, const std::string&) override { return 0; }
    int RawCommand(const std::string&) override { return 0; }
    std::string CloseConnection() override { return site.host; }
    bool Connected() override { return false; }
    int TransferState() override { return 0; }
    void SetTranslate(bool) override {}
    void SetCountry(int) override {}
    void SetRemoteCharset(int) override {}
    void SetLocalCharset(int) override {}
    int ChangeRemoteDirectory(const std::string&) override { return 0; }
    int SetLocalDirectory(const std::string&) override { return 0; }
    void SetRemoteMask(const std::string&) override {}
    void SetLocalMask(const std::string&) override {}
    void SetRemoteSelect(const std::string&) override {}
    void SetLocalSelect(const std::string&) override {}
    void SetRemoteShow(bool) override {}
    void SetLocalShow(bool) override {}
    void RefreshLocal() override {}
    void RefreshRemote() override {}
    void RedisplayRemote() override {}
    bool RemoteListStale() override { return false; }
    int ConnectAndLogin() override { return 0; }
    void ReceiveSingleFile() override {}
    void ReceiveSelectedFiles() override {}
    void SendSelectedFiles() override {}
    bool SiteApply(const std::string&) override { return false; }
    void SetLimitedMode() override {}
    void Help() override {}
    void PostExit() override {}
    void OpenLogFile(const std::string&) override {}
    bool StartWaitTimer() override { return true; }
    void StopWaitTimer() override {}
    void PumpMessages() override {}

    SiteRecord site;
    FtpGeneralSettings settings;
    std::string local, remote;
};

const std::string& ScriptFolder()
{
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp && *tmp ? tmp : "/tmp";
#ifdef _WIN32
        if (const char* t = std::getenv("TEMP"))
            base = t;
#endif
        return base + "/";
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string name = "ftp_script_fuzz_" + std::to_string(FUZZ_PID) + ".ftp";
    const std::string path = ScriptFolder() + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // The reader alone, with and without a password's masking.
    ScriptWordReader reader;
    reader.file = std::fopen(path.c_str(), "rb");
    if (reader.file) {
        std::string word;
        for (int result = 0, n = 0; result != -1; ++n) {
            reader.maskNext = n % 3 == 0;
            result = reader.Read(word);
            if (result > 0 && word.size() != static_cast<std::size_t>(result))
                __builtin_trap();
            if (word.size() > kScriptWordMax)
                __builtin_trap();
        }
        std::fclose(reader.file);
    }

    // The interpreter checking the script; a call of any name completes against the folder.
    QuietHost host;
    host.settings.verbose = size > 0 && (data[0] & 1);
    ScriptRunner runner(host);
    runner.scriptDirectory = ScriptFolder();
    runner.scriptPath = path;
    runner.syntaxTest = true;
    runner.StartScript();
    if (runner.Running() || !runner.CallStack().empty())
        __builtin_trap();
    std::remove(path.c_str());
    return 0;
}
