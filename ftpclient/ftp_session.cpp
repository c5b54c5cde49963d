#include "ftp_session.h"

namespace {

class QuietHost final : public FtpHost {
public:
    void Info(const char*) override {}
    void Debug(const char*) override {}
    void Error(const char*) override {}
    void Progress(std::uintptr_t, unsigned, std::int64_t) override {}
    void Beep(int) override {}
    void LoginFailed(const char*) override {}
    void SetTitle(const char*) override {}
    void Pump() override {}
};

FtpSessionState g_session;

}  // namespace

FtpHost& QuietFtpHost()
{
    static QuietHost host;
    return host;
}

FtpSessionState& Ftp() { return g_session; }

void ResetFtpSession()
{
    if (g_session.listingReader != nullptr)
        std::fclose(g_session.listingReader);
    g_session = FtpSessionState();
}
