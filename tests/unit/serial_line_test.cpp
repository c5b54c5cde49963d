#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "connections/serial_line.h"

namespace {

TEST(SerialLineTest, PortNameIsComAndTheNumber) {
    char name[16];
    SerialPortName(12, name, sizeof(name));
    EXPECT_STREQ(name, "COM12");
}

TEST(SerialLineTest, LineControlFollowsTheSettings) {
    struct Case {
        int flow;
        bool dtr, rts, xon;
    } cases[] = {
        {0, false, false, false}, {1, true, false, false}, {2, false, true, false},
        {4, false, false, true},  {7, true, true, true},
    };
    SettingsRecord rec = {};
    rec.BaudRateLong = 19200;
    rec.ByteSize = 7;
    rec.Parity = 2;
    rec.StopBits = 2;
    for (const Case& c : cases) {
        rec.FlowCtrl = c.flow;
        SerialLineControl line = BuildLineControl(rec);
        SCOPED_TRACE(c.flow);
        EXPECT_EQ(line.baudRate, 19200u);
        EXPECT_EQ(line.byteSize, 7);
        EXPECT_EQ(line.parity, 2);
        EXPECT_EQ(line.stopBits, 2);
        EXPECT_TRUE(line.binary);
        EXPECT_TRUE(line.parityCheck);
        EXPECT_EQ(line.dtrEnabled, c.dtr);
        EXPECT_EQ(line.dsrOutFlow, c.dtr);
        EXPECT_EQ(line.rtsEnabled, c.rts);
        EXPECT_EQ(line.ctsOutFlow, c.rts);
        EXPECT_EQ(line.xonXoffOut, c.xon);
        EXPECT_EQ(line.xonXoffIn, c.xon);
        EXPECT_EQ(line.xonChar, 0x11);
        EXPECT_EQ(line.xoffChar, 0x13);
        EXPECT_EQ(line.xonLimit, 100);
        EXPECT_EQ(line.xoffLimit, 100);
    }
}

// A missing or negative rate would divide by zero in the write time-out; both mean the default.
TEST(SerialLineTest, WriteTimeoutPerByteNeverDividesByZero) {
    struct Case {
        int32_t baud;
        uint32_t perByte;
    } cases[] = {{300, 33}, {9600, 1}, {115200, 1}, {0, 1}, {-5, 1}, {1200, 8}};
    for (const Case& c : cases) EXPECT_EQ(WriteTimeoutPerByte(c.baud), c.perByte) << c.baud;
    SettingsRecord rec = {};
    rec.BaudRateLong = 0;
    EXPECT_EQ(BuildLineControl(rec).baudRate, kDefaultBaudRate);
}

TEST(SerialLineTest, DialReplyMatcherFindsTheReplyAcrossBlocks) {
    struct Case {
        std::string blocks;  // blocks separated by '|'
        int matchedInBlock;  // index of the block that completes the reply, -1 none
    } cases[] = {
        {"ATDT123\r\r\nCONNECT 9600\r\n", 0},
        {"\r\nCONN|ECT 2400", 1},
        {"C|O|N|N|E|C|T", 6},
        {"CCONNECT", 0},          // the breaking C starts the reply again
        {"CONNCONNECT", 0},
        {"\r\nBUSY\r\n|NO CARRIER", -1},
        {"CONNEC|\r\nT", -1},
    };
    for (const Case& c : cases) {
        DialReplyMatcher matcher;
        int matched = -1;
        std::size_t start = 0;
        for (int index = 0; start <= c.blocks.size(); ++index) {
            std::size_t bar = c.blocks.find('|', start);
            if (bar == std::string::npos) bar = c.blocks.size();
            std::string block = c.blocks.substr(start, bar - start);
            if (matcher.Feed("CONNECT", reinterpret_cast<const uint8_t*>(block.data()),
                             static_cast<int>(block.size())) && matched < 0)
                matched = index;
            start = bar + 1;
        }
        EXPECT_EQ(matched, c.matchedInBlock) << c.blocks;
    }
}

TEST(SerialLineTest, EmptyReplyNeverMatches) {
    DialReplyMatcher matcher;
    const uint8_t data[] = {'x', 0};
    EXPECT_FALSE(matcher.Feed("", data, 2));
}

}  // namespace
