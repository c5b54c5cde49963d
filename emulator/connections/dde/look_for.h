// Triggers on the received host data: a CLookFor watches the byte stream for its pattern and runs
// its CAction each time the pattern is complete.
#pragma once

#include <string>

class CAction {
public:
    virtual ~CAction() = default;
    virtual int Run() { return 0; }
};

class CLookFor {
public:
    // Takes ownership of the action (null: the trigger only matches).
    CLookFor(const char* pattern, CAction* action);
    ~CLookFor();
    CLookFor(const CLookFor&) = delete;
    CLookFor& operator=(const CLookFor&) = delete;

    // One received byte. A byte that breaks a partial match is compared once more with the
    // pattern's first character; there is no further fallback (so "aab" is not found in "aaab").
    // An empty pattern never fires.
    void Feed(unsigned char byte);

    int MatchPosition() const { return position_; }

private:
    CAction* action_;
    std::string pattern_;
    int position_ = 0;
};
