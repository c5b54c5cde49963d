// Fuzzes what the FTP client reads from servers: the reply reader (through the commands that read
// replies, with the bytes arriving in chunks of any size), the listing parsers of every host type,
// the size in a 1xx reply and MatchMask.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ftp_api.h"
#include "ftp_engine.h"
#include "ftp_scripted_net.h"
#include "listing_parsers.h"
#include "match_mask.h"

namespace {

void FuzzReplies(std::uint8_t mode, std::uint8_t param, const std::string& bytes)
{
    ResetFtpSession();
    ScriptedNet net(bytes, (param & 0x7f) + 1u);
    FtpInit(nullptr, &net);
    FtpSessionState& ftp = Ftp();
    ftp.hostType = param % (kHostTypeMax + 1);
    ftp.crTerminated = (mode >> 1) & 1;
    ftp.verbose = 1;
    ftp.control = ScriptedNet::kSocket;
    ftp.loggedIn = 1;
    char buffer[256];
    for (int step = 0; step < 8 && ftp.control != kNoSocket; ++step) {
        switch ((mode >> 2) + step & 7) {
        case 0: FtpPwd(buffer, sizeof buffer); break;
        case 1: ftp_detect_host_type(ftp.control); break;
        case 2: FtpCd(".."); break;
        case 3: FtpMkdir("dir", buffer, sizeof buffer); break;
        case 4: FtpRawCommand("NOOP"); break;
        case 5: ftp_syst(ftp.control); break;
        case 6: ftp_read_reply(ftp.control); break;
        default: ftp_read_line(ftp.control); break;
        }
    }
    ResetFtpSession();
}

void FuzzListings(const std::string& bytes)
{
    ListingEntry entry;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string_view line(bytes.data() + start, end - start);
        for (int type = -1; type <= kHostTypeMax + 1; ++type) {
            std::size_t column = 0;
            for (int entries = 0; entries < 4; ++entries) {
                std::size_t pending = 0;
                ParseListingLine(type, line, column, entry, pending);
                if (pending == 0)
                    break;
                column = pending;
            }
        }
        start = end + 1;
    }
    const std::size_t split = bytes.find('\n');
    const std::string name = bytes.substr(0, split);
    const std::string mask = split == std::string::npos ? std::string() : bytes.substr(split + 1);
    MatchMask(name.c_str(), mask.c_str(), 0);
    MatchMask(name.c_str(), mask.c_str(), 1);
    ftp_reply_size(name.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    if (data[0] & 1)
        FuzzReplies(data[0], data[1], bytes);
    else
        FuzzListings(bytes);
    return 0;
}
