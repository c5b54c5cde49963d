#include "fake_3270_calls.h"

#include <cstdarg>
#include <cstdio>

#include "engine/ibm3270/outside_hooks.h"
#include "engine/ibm3270/view_hooks.h"
#include "engine/view_port.h"
#include "session/messages.h"

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

namespace {
std::string Numbers(int count, const int* params)
{
    std::string text = "[";
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::to_string(params[i]);
    return text + "]";
}

int SendRecord(const uint8_t* data, int length, int endOfRecord)
{
    int take = length;
    if (FakeCalls.takeLimit >= 0 && take > FakeCalls.takeLimit) take = FakeCalls.takeLimit;
    const bool whole = take == length;
    FakeCalls.sent.push_back({std::vector<uint8_t>(data, data + take), whole ? endOfRecord : 0});
    return take;
}

// Message boxes: the formatted text.
class RecordingPrompts final : public ShellPrompts {
public:
    int Ask(int, const std::string& text, int) override
    {
        FakeCalls.messages.push_back(text);
        return 1;
    }
};

RecordingPrompts recordingPrompts;

void CountHotScreen() { ++FakeCalls.hotScreenRuns; }

int RecordPrivateCommand(ViewWindow, int number, int count, const int* params, const char* text)
{
    FakeCalls.commands.push_back("DoPrivateCommand " + std::to_string(number) + " " + Numbers(count, params) + " " +
                                 text);
    return 0;
}

int RecordMciCommand(const char* text)
{
    FakeCalls.commands.push_back(std::string("RunMciCommand ") + text);
    return 0;
}

void RecordCsiDispatch(ViewWindow, SettingsRecord&, int finalByte, int count, const int* params, DirtyRect&, int)
{
    FakeCalls.commands.push_back("CsiDispatch " + std::string(1, static_cast<char>(finalByte)) + " " +
                                 Numbers(count, params));
}

}  // namespace

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
    SetPrompts(&recordingPrompts);
    Tn3270Hooks = Default3270OutsideHooks();
    Tn3270Hooks.sendRecord = SendRecord;
    Tn3270Hooks.hotScreenEvaluate = CountHotScreen;
    Tn3270Hooks.privateCommand = RecordPrivateCommand;
    Tn3270Hooks.mciCommand = RecordMciCommand;
    Tn3270Hooks.csiDispatch = RecordCsiDispatch;
}
