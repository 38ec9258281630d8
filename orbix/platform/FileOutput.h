// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Replacing a file safely, and the reasons a write fails in words.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orbix {

// Creates or replaces the file whose name is `path` (bytes, see FileNames.h)
// with `bytes`. They go to a temporary file beside the target that replaces
// it only once every byte is written and flushed to the device, so a failure
// (a full disk, a size limit) leaves any earlier file intact and nothing
// behind. An existing file the user may not write, or one that is not a
// regular file, is a failure; a replaced file keeps its permissions, and a
// symbolic link is written through to its target, as writing in place would.
// Returns 0, or the errno of the first failure.
int ReplaceFile(const QByteArray& path, QByteArrayView bytes);

// Why a file or stream could not be written, in Japanese, for errno `error`.
QString ErrorText(int error);

namespace testing {
// Test hook: when set, ReplaceFile writes only this many bytes and then
// fails as a full disk would (ENOSPC). Reset to -1 after use.
extern long WriteFailsAfterBytes;
}  // namespace testing

}  // namespace orbix
