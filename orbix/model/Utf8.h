// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <cstddef>
#include <string_view>

namespace modCommon {

// The length of the well-formed UTF-8 sequence at the start of s (not empty),
// or 0 when there is none: no overlong forms, no surrogates, nothing above
// U+10FFFF.
inline std::size_t Utf8SequenceLength(std::string_view s) {
    const auto at = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = at(0);
    if (b < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xbf;  // the second byte's range
    if (b >= 0xc2 && b <= 0xdf) {
        length = 2;
    } else if (b >= 0xe0 && b <= 0xef) {
        length = 3;
        if (b == 0xe0) low = 0xa0;
        if (b == 0xed) high = 0x9f;
    } else if (b >= 0xf0 && b <= 0xf4) {
        length = 4;
        if (b == 0xf0) low = 0x90;
        if (b == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = at(i);
        if (i == 1 ? c < low || c > high : c < 0x80 || c > 0xbf) return 0;
    }
    return length;
}

}  // namespace modCommon
