#include "fake_3270_calls.h"

#include <cstdarg>
#include <cstdio>

#include "engine/ibm3270/outside_calls.h"
#include "engine/ibm3270/view_hooks.h"
#include "engine/view_port.h"

Fake3270Calls FakeCalls;

namespace {

// The status bar as the 3270 tests see it.
class RecordingStatusBar final : public ViewPort {
public:
    void SetStatusPane(const char* text, int pane, uint32_t, uint32_t) override
    {
        FakeCalls.status.push_back({pane, text ? text : ""});
    }
    void ShowStatusProgress(int pane, int percent, const char* text, uint32_t) override
    {
        FakeCalls.status.push_back({pane, "[" + std::to_string(percent) + "%] " + (text ? text : "")});
    }
};

RecordingStatusBar recordingStatusBar;

}  // namespace

std::vector<std::vector<uint8_t>> Fake3270Calls::Records() const
{
    std::vector<std::vector<uint8_t>> records;
    std::vector<uint8_t> current;
    for (const Record& r : sent) {
        current.insert(current.end(), r.bytes.begin(), r.bytes.end());
        if (r.endOfRecord) {
            records.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) records.push_back(current);
    return records;
}

std::string Fake3270Calls::LastStatus(int pane) const
{
    for (auto it = status.rbegin(); it != status.rend(); ++it)
        if (it->pane == pane) return it->text;
    return "";
}

void ResetFake3270Calls()
{
    FakeCalls = Fake3270Calls{};
    SetViewPort(&recordingStatusBar);
    ViewHooks3270 = Default3270ViewHooks();
    ViewHooks3270.beep = [](int) { ++FakeCalls.beeps; };
    ViewHooks3270.invalidate = [](ViewWindow, int left, int top, int right, int bottom) {
        FakeCalls.invalidated.push_back({left, top, right, bottom});
    };
    ViewHooks3270.winExec = [](const char* commandLine, int showMode) {
        FakeCalls.commands.push_back("WinExec " + std::to_string(showMode) + " " + commandLine);
        return FakeCalls.winExecResult;
    };
}

namespace {
std::string Numbers(int count, const int* params)
{
    std::string text = "[";
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::to_string(params[i]);
    return text + "]";
}
}  // namespace

int Send3270Record(const uint8_t* data, int length, int endOfRecord)
{
    int take = length;
    if (FakeCalls.takeLimit >= 0 && take > FakeCalls.takeLimit) take = FakeCalls.takeLimit;
    const bool whole = take == length;
    FakeCalls.sent.push_back({std::vector<uint8_t>(data, data + take), whole ? endOfRecord : 0});
    return take;
}


int ShowMessage(int, int, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    FakeCalls.messages.push_back(text);
    return 1;
}

void HotScreenEvaluate() { ++FakeCalls.hotScreenRuns; }

int DoPrivateCommand(ViewWindow, int number, int count, const int* params, const char* text)
{
    FakeCalls.commands.push_back("DoPrivateCommand " + std::to_string(number) + " " + Numbers(count, params) + " " +
                                 text);
    return 0;
}

int RunMciCommand(const char* text)
{
    FakeCalls.commands.push_back(std::string("RunMciCommand ") + text);
    return 0;
}

void CsiDispatch(ViewWindow, SettingsRecord&, int finalByte, int count, const int* params, DirtyRect&, int)
{
    FakeCalls.commands.push_back("CsiDispatch " + std::string(1, static_cast<char>(finalByte)) + " " +
                                 Numbers(count, params));
}
