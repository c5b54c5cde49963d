#include <gtest/gtest.h>

#include <string>

#include "connections/winsock_errors.h"

TEST(WinsockErrorText, NamesTheCodesUsersMeet) {
    const std::pair<int, const char*> table[] = {
        {10061, "Connection refused"},     {10060, "Connection timed out"},
        {11001, "Host not found"},         {10054, "Connection reset by peer"},
        {10057, "Socket is not connected"}, {10035, "Operation would block"},
        {10093, "Not initialized"},        {0, "Unknown error code"},
        {10000, "Unknown error code"},
    };
    for (const auto& [code, text] : table) EXPECT_EQ(std::string(WinsockErrorText(code)), text) << code;
}
