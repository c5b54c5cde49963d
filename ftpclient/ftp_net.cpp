#include "ftp_net.h"

#include <cstdio>

std::string FormatIp(std::uint32_t ip)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (ip >> 24) & 255u, (ip >> 16) & 255u, (ip >> 8) & 255u, ip & 255u);
    return text;
}
