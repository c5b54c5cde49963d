// The line of a real Pexla port: a serial handle the caller opened.
//
// Timed reads use total time-outs only and treat ERROR_TIMEOUT (1460) as a read that
// timed out: some serial drivers fail a read that got nothing instead of returning 0 bytes, and
// ignore the "return what is there" form of the time-outs. Modem lines are never needed.
#include <windows.h>

#include <algorithm>

#include "port_table.h"

namespace {

class ComLine : public pexla::PortLine {
public:
    explicit ComLine(HANDLE handle) : handle_(handle) {
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (GetCommState(handle_, &dcb)) baud_ = static_cast<int>(dcb.BaudRate);
    }
    ~ComLine() override {
        if (event_) CloseHandle(event_);
    }

    int Receive(uint8_t* buffer, int max, int waitMs) override {
        if (max <= 0) return 0;
        int ready = InQueue();
        if (ready > 0) return ReadTotal(buffer, std::min(ready, max), 1000);
        if (waitMs <= 0) return 0;
        int got = ReadTotal(buffer, 1, waitMs);
        if (got <= 0) return got;
        ready = InQueue();
        if (ready > 0 && max > 1) {
            int more = ReadTotal(buffer + 1, std::min(ready, max - 1), 1000);
            if (more > 0) got += more;
        }
        return got;
    }

    int Send(const uint8_t* data, int length) override {
        int sent = 0;
        while (sent < length) {
            DWORD done = 0;
            OVERLAPPED ov{};
            ov.hEvent = event_;
            ResetEvent(event_);
            BOOL ok = WriteFile(handle_, data + sent, static_cast<DWORD>(length - sent), &done, &ov);
            if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(handle_, &ov, &done, TRUE);
            if (!ok || done == 0) break;
            sent += static_cast<int>(done);
        }
        return sent;
    }

    int InQueue() override {
        DWORD errors = 0;
        COMSTAT stat{};
        return ClearCommError(handle_, &errors, &stat) ? static_cast<int>(stat.cbInQue) : 0;
    }
    int OutQueue() override {
        DWORD errors = 0;
        COMSTAT stat{};
        return ClearCommError(handle_, &errors, &stat) ? static_cast<int>(stat.cbOutQue) : 0;
    }
    void DiscardInput() override { PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR); }
    void DiscardOutput() override { PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR); }
    int Baud() override { return baud_; }

private:
    // Reads count bytes or what came within ms; 0 on a time-out, -1 when the line failed.
    int ReadTotal(uint8_t* buffer, int count, int ms) {
        if (ms != timeoutSet_) {
            COMMTIMEOUTS t{};
            t.ReadTotalTimeoutConstant = static_cast<DWORD>(ms);
            if (!SetCommTimeouts(handle_, &t)) return -1;
            timeoutSet_ = ms;
        }
        DWORD done = 0;
        OVERLAPPED ov{};
        ov.hEvent = event_;
        ResetEvent(event_);
        BOOL ok = ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, &ov);
        if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(handle_, &ov, &done, TRUE);
        if (!ok) {
            DWORD e = GetLastError();
            return e == ERROR_TIMEOUT || e == ERROR_SEM_TIMEOUT ? 0 : -1;
        }
        return static_cast<int>(done);
    }

    HANDLE handle_;
    HANDLE event_ = nullptr;
    int baud_ = 0;
    int timeoutSet_ = -1;
};

}  // namespace

PEXLA_API int PEXLA_CALL PxOpenComPort(const char* kind, int portNumber, int baud, int dataBits,
                                       int parity, int stopBits, int inSize, int outSize,
                                       void* handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE) return -2;
    if (baud > 0) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (GetCommState(handle, &dcb)) {
            dcb.BaudRate = static_cast<DWORD>(baud);
            if (dataBits >= 5 && dataBits <= 8) dcb.ByteSize = static_cast<BYTE>(dataBits);
            dcb.Parity = static_cast<BYTE>(parity);
            dcb.StopBits = static_cast<BYTE>(stopBits);
            dcb.fBinary = TRUE;
            dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = FALSE;
            dcb.fOutX = dcb.fInX = FALSE;
            dcb.fDtrControl = DTR_CONTROL_ENABLE;
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
            SetCommState(handle, &dcb);
        }
    }
    return pexla::AttachPort(portNumber, std::make_unique<ComLine>(static_cast<HANDLE>(handle)), false);
}
