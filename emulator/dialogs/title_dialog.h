// The window title question, window-free: how long the title may be.
#pragma once

#include <cstddef>

constexpr std::size_t kTitleTextLimit = 80;
