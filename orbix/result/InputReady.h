// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Guard of the result window's navigation commands.

namespace modResult {

// Set once by the design window when it loads. The toolbar, the Enter key
// and the tree of the result window act only while it is true and hold it
// false while they run, so input that arrives while a page draws is ignored.
extern bool InputReady;

}  // namespace modResult
