#pragma once
// Frames written as hex in tests: "02 00 57 4B" fills bytes 0..3, the rest stays 0.
#include "link/Frame.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace testing_frames {

inline kes::Frame frameFromHex(const std::string& hex, std::size_t start = 0)
{
    kes::Frame f{};
    std::istringstream in(hex);
    unsigned value = 0;
    std::size_t i = start;
    while (in >> std::hex >> value)
        f.at(i++) = static_cast<std::uint8_t>(value);
    return f;
}

inline std::string hexOf(const kes::Frame& f)
{
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < f.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", f[i]);
        out += (i ? " " : "") + std::string(buf);
    }
    return out;
}

} // namespace testing_frames
