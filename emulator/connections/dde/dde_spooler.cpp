#include "connections/dde/dde_spooler.h"

#include <new>

#include "connections/dde/dde_recorder.h"
#include "session/session_record.h"

namespace {

constexpr int kFieldMaximum = 30;

}  // namespace

DdeSpooler::~DdeSpooler() { delete[] buffer_; }

void DdeSpooler::Start() {
    if (recording_) return;
    buffer_ = new (std::nothrow) char[kBufferSize];
    if (!buffer_) return;
    recording_ = 1;
    count_ = 0;
}

void DdeSpooler::Append(unsigned char byte) {
    if (buffer_ && count_ < kMaxBytes) buffer_[count_++] = static_cast<char>(byte);
}

int DdeSpooler::StopAndSend() {
    if (!buffer_ || count_ == 0) return 0;
    // Take the recording first: the poke lets the message loop run, and host data received
    // meanwhile must find the recorder idle rather than a buffer about to be freed.
    char* text = buffer_;
    int size = count_ + 1;
    text[count_] = '\0';
    buffer_ = nullptr;
    count_ = 0;
    recording_ = 0;

    if (Rec->DdeRadioDynamic != 0) {
        DdePokeTo(Rec->DdeClientSendToServiceName, Rec->DdeClientSendToTopicName,
                  Rec->DdeClientSendToItemName, text, size);
    } else {
        char delimiter = Rec->DdeDelimiter[0];
        char service[kFieldMaximum + 1], topic[kFieldMaximum + 1], item[kFieldMaximum + 1];
        const char* rest = SplitField(service, text, kFieldMaximum, delimiter);
        rest = SplitField(topic, rest, kFieldMaximum, delimiter);
        SplitField(item, rest, kFieldMaximum, delimiter);
        if (service[0] && topic[0] && item[0]) DdePokeTo(service, topic, item, text, size);
    }
    delete[] text;
    return 1;
}

int StartSpoolAction::Run() {
    DdeSpooler* spooler = DdeRecorder();
    if (!spooler) return 0;
    spooler->Start();
    return 1;
}

int StopSpoolAction::Run() {
    DdeSpooler* spooler = DdeRecorder();
    if (!spooler || !spooler->Recording()) return 0;
    spooler->StopAndSend();
    return 1;
}

const char* SplitField(char* destination, const char* source, int maximum, char delimiter) {
    int copied = 0;
    while (copied < maximum && *source && *source != delimiter) destination[copied++] = *source++;
    destination[copied] = '\0';
    while (*source && *source != delimiter) ++source;
    if (*source == delimiter && *source) ++source;
    return source;
}
