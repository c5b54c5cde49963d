#include "connections/serial_line.h"

#include <cstdio>
#include <cstring>

void SerialPortName(int port, char* name, std::size_t size) {
    std::snprintf(name, size, "%s%d", "COM", port);
}

SerialLineControl BuildLineControl(const SettingsRecord& rec) {
    SerialLineControl line = {};
    line.baudRate = rec.BaudRateLong > 0 ? static_cast<uint32_t>(rec.BaudRateLong) : kDefaultBaudRate;
    line.byteSize = static_cast<uint8_t>(rec.ByteSize);
    line.parity = static_cast<uint8_t>(rec.Parity);
    line.stopBits = static_cast<uint8_t>(rec.StopBits);
    line.binary = true;
    line.parityCheck = true;
    line.dtrEnabled = line.dsrOutFlow = (rec.FlowCtrl & kFlowDtrDsr) != 0;
    line.rtsEnabled = line.ctsOutFlow = (rec.FlowCtrl & kFlowRtsCts) != 0;
    line.xonXoffOut = line.xonXoffIn = (rec.FlowCtrl & kFlowXonXoff) != 0;
    line.xonChar = 0x11;
    line.xoffChar = 0x13;
    line.xonLimit = 100;
    line.xoffLimit = 100;
    return line;
}

uint32_t WriteTimeoutPerByte(int32_t baudRateLong) {
    uint32_t baud = baudRateLong > 0 ? static_cast<uint32_t>(baudRateLong) : kDefaultBaudRate;
    uint32_t perByte = 10000 / baud;
    return perByte ? perByte : 1;
}

bool DialReplyMatcher::Feed(const char* reply, const uint8_t* bytes, int n) {
    std::size_t length = std::strlen(reply);
    if (length == 0) return false;
    for (int i = 0; i < n; ++i) {
        char c = static_cast<char>(bytes[i]);
        if (c != reply[position_]) position_ = 0;
        if (c != reply[position_]) continue;
        if (++position_ == length) {
            position_ = 0;
            return true;
        }
    }
    return false;
}
