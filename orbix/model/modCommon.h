#pragma once
// Text files and small string helpers.
//
// Text files are stored in CP932 (Shift_JIS) with CR LF line ends; in memory
// every string is UTF-8. Reading accepts CR LF, LF and lone CR line ends.

#include <cstdint>
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

// The lines of a file's bytes, decoded; CR LF, LF and lone CR end a line, and
// a final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Parts of text between separators, scanning from the left. A separator that
// is the very last character adds no empty last part; "" gives one empty part.
std::vector<std::string> SplitText(std::string_view text, char separator);

// Creates or replaces the file with text followed by CR LF. The file is
// written through a temporary file renamed over the target, so a failure
// leaves any earlier file intact. 1 on success, 0 on failure.
std::int16_t WriteTextFile(const std::string& path, const std::string& text);

namespace testing {
// Test hook: when set, WriteTextFile writes only this many bytes of the
// temporary file and then fails, as a full disk would. Reset to -1 after use.
extern long WriteFailsAfterBytes;
}  // namespace testing

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
