// A native helper of the serial tests: copies bytes between two ptys and damages them on the
// way at a set rate (seeded): a damaged byte is either dropped or has one bit flipped.
//
//   noise_relay PTY_A PTY_B RATE_A_TO_B RATE_B_TO_A SEED
// A rate N damages about one byte in N (0: none). Runs until killed.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

int OpenRaw(const char* path) {
    int fd = open(path, O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios t{};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w <= 0) return false;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: noise_relay PTY_A PTY_B RATE_A_TO_B RATE_B_TO_A SEED\n");
        return 2;
    }
    int fd[2] = {OpenRaw(argv[1]), OpenRaw(argv[2])};
    if (fd[0] < 0 || fd[1] < 0) {
        std::perror("noise_relay: open");
        return 1;
    }
    const unsigned rate[2] = {static_cast<unsigned>(std::atoi(argv[3])), static_cast<unsigned>(std::atoi(argv[4]))};
    std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[5])));
    unsigned long damaged = 0;
    for (;;) {
        pollfd p[2] = {{fd[0], POLLIN, 0}, {fd[1], POLLIN, 0}};
        if (poll(p, 2, -1) < 0) return 1;
        for (int from = 0; from < 2; ++from) {
            if (!(p[from].revents & POLLIN)) continue;
            uint8_t buf[4096];
            ssize_t n = read(fd[from], buf, sizeof buf);
            if (n <= 0) continue;
            std::vector<uint8_t> out;
            out.reserve(static_cast<size_t>(n));
            for (ssize_t i = 0; i < n; ++i) {
                uint8_t b = buf[i];
                if (rate[from] && rng() % rate[from] == 0) {
                    ++damaged;
                    if (rng() % 2) continue;
                    b ^= static_cast<uint8_t>(1u << (rng() % 8));
                }
                out.push_back(b);
            }
            if (!WriteAll(fd[1 - from], out.data(), out.size())) return 1;
        }
    }
}
