// ShellPrompts for the tests: records every question and answers from a script (then with the
// first button of the style).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "session/messages.h"

class FakePrompts : public ShellPrompts {
public:
    struct Question {
        int id;
        std::string text;
        int style;
    };

    int Ask(int stringId, const std::string& text, int style) override
    {
        asked.push_back(Question{stringId, text, style});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (style & 0x0F) == kMsgYesNo ? kAnswerYes : kAnswerOk;
    }

    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const auto& q : asked) ids.push_back(q.id);
        return ids;
    }

    std::vector<Question> asked;
    std::deque<int> answers;
};

// Installs the prompts for the lifetime of the object.
class ScopedPrompts {
public:
    explicit ScopedPrompts(ShellPrompts& prompts) { SetPrompts(&prompts); }
    ~ScopedPrompts() { SetPrompts(nullptr); }
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;
};
