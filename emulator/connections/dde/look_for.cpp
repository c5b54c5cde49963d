#include "connections/dde/look_for.h"

CLookFor::CLookFor(const char* pattern, CAction* action)
    : action_(action), pattern_(pattern ? pattern : "") {}

CLookFor::~CLookFor() { delete action_; }

void CLookFor::Feed(unsigned char byte) {
    if (pattern_.empty()) return;
    for (;;) {
        if (static_cast<unsigned char>(pattern_[static_cast<std::size_t>(position_)]) == byte) {
            if (++position_ == static_cast<int>(pattern_.size())) {
                position_ = 0;
                if (action_) action_->Run();
            }
            return;
        }
        if (position_ == 0) return;
        position_ = 0;
    }
}
