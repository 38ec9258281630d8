// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A pause that keeps the windows repainting.

#include <cstdint>

namespace modCommon {

// Returns once `seconds` seconds have passed on a monotonic clock, letting
// pending window events run all the while.
void WaitSeconds(std::int16_t seconds);

namespace testing {
// Test hook: the length of one second of WaitSeconds, in milliseconds.
// Tests shorten the pauses with it; reset to 1000 after use.
extern int MillisecondsPerSecond;
}  // namespace testing

}  // namespace modCommon
