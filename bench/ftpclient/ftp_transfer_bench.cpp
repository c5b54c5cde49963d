// RETR and STOR of a 200 MB file over loopback against the scripted pyftpdlib server: our engine
// against curl (both with active PORT data connections), best of three runs each, printed as the
// ratio curl time / our time (1.0: as fast as curl; the target is at least 0.8).
// Run it plainly: without TOLVI_FTP_SCRIPTED set it starts itself again under with_ftp_servers.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ftp_api.h"
#include "ftp_host.h"
#include "ftp_net.h"

namespace {

constexpr long long kSize = 200LL << 20;
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool MakeFile(const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> block(1 << 20);
    std::uint32_t x = 12345;
    for (char& c : block) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    for (long long done = 0; done < kSize; done += static_cast<long long>(block.size()))
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    return static_cast<bool>(out);
}

long long FileSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : -1;
}

double Best(const char* what, const std::string& check, const std::function<bool()>& run)
{
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        const Clock::time_point start = Clock::now();
        if (!run()) {
            std::printf("%s: run failed\n", what);
            std::exit(1);
        }
        const double t = Seconds(start);
        if (!check.empty() && FileSize(check) != kSize) {
            std::printf("%s: wrong size %lld\n", what, FileSize(check));
            std::exit(1);
        }
        best = t < best ? t : best;
    }
    std::printf("  %-14s %6.3f s  %7.1f MB/s\n", what, best, (kSize >> 20) / best);
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* address = std::getenv("TOLVI_FTP_SCRIPTED");
    if (address == nullptr) {
        execl(TOLVI_FTP_SERVERS, TOLVI_FTP_SERVERS, argv[0], static_cast<char*>(nullptr));
        std::perror("with_ftp_servers");
        return 1;
    }
    const std::string dir = "ftp_bench_files";
    std::system(("rm -rf " + dir + " && mkdir -p " + dir).c_str());
    const std::string source = dir + "/source.bin";
    const std::string target = dir + "/target.bin";
    if (!MakeFile(source))
        return 1;

    if (FtpInit(nullptr, SystemNet()) != 0 || FtpLogin(address, "tolvi", "secret") != 0) {
        std::printf("cannot log on to %s\n", address);
        return 1;
    }
    const std::string url = std::string("ftp://tolvi:secret@") + address + "/";
    const std::string curl = "curl -s -S --ftp-port 127.0.0.1 ";

    std::printf("FTP transfers of %lld MB over loopback, best of %d\n", kSize >> 20, kRuns);
    const double ourStor = Best("STOR ours", "", [&] { return FtpPut(source.c_str(), "ours.bin", 'I', 0, 0, 0, 0) == 0; });
    const double curlStor = Best("STOR curl", "", [&] {
        return std::system((curl + "-T " + source + " " + url + "curl.bin").c_str()) == 0;
    });
    const double ourRetr = Best("RETR ours", target, [&] {
        return FtpGet("curl.bin", target.c_str(), 'I', 0, 0, 0, 0) == 0;
    });
    const double curlRetr = Best("RETR curl", target, [&] {
        return std::system((curl + "-o " + target + " " + url + "ours.bin").c_str()) == 0;
    });
    FtpClose();
    FtpRelease();
    std::system(("rm -rf " + dir).c_str());
    std::printf("ratio curl/ours: STOR %.2f  RETR %.2f  (target >= 0.80)\n", curlStor / ourStor, curlRetr / ourRetr);
    return 0;
}
