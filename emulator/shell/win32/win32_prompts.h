// Shell questions as real message boxes.
#pragma once

#include "session/messages.h"

class Win32Prompts final : public ShellPrompts {
public:
    int Ask(int stringId, const std::string& text, int style) override;
};
