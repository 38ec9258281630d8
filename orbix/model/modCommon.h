// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Text files and small string helpers.
//
// Text files are stored in CP932 (Shift_JIS) with CR LF line ends; in memory
// every string is UTF-8. Reading accepts CR LF, LF and lone CR line ends, and
// skips one leading UTF-8 byte-order mark.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace modCommon {

enum ReadResult : std::int16_t {
    rrOk = 0,     // at least one line was read
    rrEmpty = 1,  // the file holds no line
    rrOpenFailed = 2,
    rrReadFailed = 3,  // includes a file too large to be a text file of ours
    rrCloseFailed = 4,
};

// Largest file the text readers accept; anything bigger is a read failure.
inline constexpr std::size_t kMaxTextFileBytes = 16 * 1024 * 1024;

// Whole file as UTF-8 text. 1 on success, 0 on any failure.
std::int16_t ReadTextFile(const std::string& path, std::string& text);

// Lines of the file, line ends removed. A final line end adds no empty line.
std::int16_t ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Each line of the file, decoded and without its line end, handed to `line`
// one at a time until it returns false; nothing else of the file is kept but
// its bytes. Result codes as ReadTextLines (rrEmpty: no line at all).
std::int16_t ForEachTextLine(const std::string& path,
                             const std::function<bool(std::string&)>& line);

// The lines of a file's bytes, decoded; CR LF, LF and lone CR end a line, and
// a final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Parts of text between separators, scanning from the left. A separator that
// is the very last character adds no empty last part; "" gives one empty part.
std::vector<std::string> SplitText(std::string_view text, char separator);

// The parts SplitText would give, handed to `part` one at a time until it
// returns false, without building the list. False when `part` stopped it.
bool ForEachPart(std::string_view text, char separator,
                 const std::function<bool(std::string_view)>& part);

// The part of path after its last "/"; the whole path when it has none.
std::string FileTitle(const std::string& path);

void SwapValues(std::int16_t& a, std::int16_t& b);

// Conversions between the stored code page and UTF-8. Decoding never fails:
// bytes that are not CP932 become U+FFFD. Encoding fails (returns false) on a
// character CP932 cannot hold.
std::string DecodeAnsi(std::string_view bytes);
bool EncodeAnsi(std::string_view utf8, std::string& bytes);

// Leading and trailing blanks (space, tab) removed.
std::string Trim(std::string_view text);

}  // namespace modCommon
