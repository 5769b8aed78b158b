#pragma once

// A link an import stored with a suggested reading that was guessed or is
// incomplete, for the user to check.

#include <cstdint>
#include <string>

namespace tessaly {

struct DoubtfulReading {
    int32_t serial = 0;
    std::string title; // code page 932
    std::string reading; // code page 932
    bool complete = false; // the guess covers the whole text
};

} // namespace tessaly
