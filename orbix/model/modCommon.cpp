// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/modCommon.h"

#include <fcntl.h>
#ifndef __EMSCRIPTEN__
#include <iconv.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// The WebAssembly C library has no CP932; the JavaScript engine's decoder
// for "shift_jis" is CP932 (Windows-31J) itself, and its encoding table is
// built once from that decoder. Each returns the length written, or -1 when a
// character has no CP932 form.
// clang-format off
EM_JS(int, orbix_cp932_decode, (const char* src, int size, char* dst, int room), {
    const text = new TextDecoder("shift_jis").decode(HEAPU8.subarray(src, src + size));
    return new TextEncoder().encodeInto(text, HEAPU8.subarray(dst, dst + room)).written;
});
EM_JS(int, orbix_cp932_encode, (const char* src, int size, char* dst, int room), {
    if (!Module.cp932) {
        const table = new Map();
        const decoder = new TextDecoder("shift_jis");
        for (let b = 0xa1; b <= 0xdf; ++b) table.set(decoder.decode(Uint8Array.of(b)), [b]);
        for (let lead = 0x81; lead <= 0xfc; ++lead) {
            if (lead >= 0xa0 && lead <= 0xdf) continue;
            for (let trail = 0x40; trail <= 0xfc; ++trail) {
                const ch = decoder.decode(Uint8Array.of(lead, trail));
                if (ch.length === 1 && ch !== "\ufffd" && !table.has(ch)) table.set(ch, [lead, trail]);
            }
        }
        Module.cp932 = table;
    }
    const text = new TextDecoder().decode(HEAPU8.subarray(src, src + size));
    let n = 0;
    for (const ch of text) {
        const bytes = ch.codePointAt(0) < 0x80 ? [ch.codePointAt(0)] : Module.cp932.get(ch);
        if (!bytes || n + bytes.length > room) return -1;
        for (const b of bytes) HEAPU8[dst + n++] = b;
    }
    return n;
});
// clang-format on
#endif

namespace modCommon {
namespace {

#ifndef __EMSCRIPTEN__
// One conversion through iconv; false when a character cannot be converted.
// With `replace`, undecodable input bytes become U+FFFD and conversion goes on.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out,
             bool replace) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[4096];
    bool ok = true;
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            if (!replace) {
                ok = false;
                break;
            }
            // EILSEQ or EINVAL (truncated sequence at the end): skip one byte.
            out += "\xEF\xBF\xBD";
            ++src;
            --left;
        }
    }
    iconv_close(cd);
    return ok;
}
#else
bool Convert(const char* to, const char*, std::string_view in, std::string& out, bool) {
    const bool decode = std::string_view(to) == "UTF-8";
    out.resize(in.size() * 3 + 3);
    const int n = (decode ? orbix_cp932_decode : orbix_cp932_encode)(
        in.data(), static_cast<int>(in.size()), out.data(), static_cast<int>(out.size()));
    out.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return n >= 0;
}
#endif

}  // namespace

std::string DecodeAnsi(std::string_view bytes) {
    // Pure ASCII is the common case (element tables, molecule files).
    bool ascii = true;
    for (unsigned char ch : bytes) {
        if (ch >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return std::string(bytes);
    std::string out;
    Convert("UTF-8", "CP932", bytes, out, true);
    return out;
}

bool EncodeAnsi(std::string_view utf8, std::string& bytes) {
    return Convert("CP932", "UTF-8", utf8, bytes, false);
}

namespace {

// Raw bytes of a file: rrOk, else the read result code. Only a regular file
// is read: a FIFO would block the open (and the program) until someone
// writes to it, and a device may never end.
std::int16_t ReadBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return rrOpenFailed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return rrOpenFailed;
    }
    std::int16_t result = rrOk;
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxTextFileBytes) {
        result = rrReadFailed;
    } else {
        bytes.reserve(static_cast<size_t>(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buf, sizeof buf);
            if (got < 0) {
                if (errno == EINTR) continue;
                result = rrReadFailed;
                break;
            }
            if (got == 0) break;
            bytes.append(buf, static_cast<size_t>(got));
            if (bytes.size() > kMaxTextFileBytes) {
                result = rrReadFailed;
                break;
            }
        }
    }
    if (::close(fd) != 0 && result == rrOk) result = rrCloseFailed;
    if (result != rrOk) std::string().swap(bytes);
    return result;
}

// The text after one leading UTF-8 byte-order mark, which editors of other
// systems write. Taken off before decoding: CP932 would decode it as text.
std::string_view TextBytes(std::string_view bytes) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return bytes.substr(0, kMark.size()) == kMark ? bytes.substr(kMark.size()) : bytes;
}

}  // namespace

std::int16_t ReadTextFile(const std::string& path, std::string& text) {
    std::string bytes;
    if (ReadBytes(path, bytes) != rrOk) return 0;
    text = DecodeAnsi(TextBytes(bytes));
    return 1;
}

namespace {

// Calls fn with each line of bytes, decoded, until it returns false.
bool ForEachLine(std::string_view bytes, const std::function<bool(std::string&)>& fn) {
    bytes = TextBytes(bytes);
    // Split on the raw bytes: CR and LF never occur inside a CP932 character.
    size_t start = 0;
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const char ch = bytes[i];
        if (ch == '\r' || ch == '\n') {
            std::string line = DecodeAnsi(bytes.substr(start, i - start));
            if (!fn(line)) return false;
            if (ch == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n) {
        std::string line = DecodeAnsi(bytes.substr(start));
        return fn(line);
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&](std::string& line) {
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

std::int16_t ForEachTextLine(const std::string& path,
                             const std::function<bool(std::string&)>& line) {
    std::string bytes;
    const std::int16_t rc = ReadBytes(path, bytes);
    if (rc != rrOk) return rc;
    bool any = false;
    ForEachLine(bytes, [&](std::string& text) {
        any = true;
        return line(text);
    });
    return any ? rrOk : rrEmpty;
}

std::int16_t ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    lines.clear();
    std::int16_t rc = ReadBytes(path, bytes);
    if (rc != rrOk) return rc;
    lines = SplitLines(bytes);
    return lines.empty() ? rrEmpty : rrOk;
}

bool ForEachPart(std::string_view text, char separator,
                 const std::function<bool(std::string_view)>& part) {
    size_t start = 0;
    for (;;) {
        const size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) return part(text.substr(start));
        if (!part(text.substr(start, pos - start))) return false;
        start = pos + 1;
        if (start == text.size()) return true;  // a final separator adds no empty part
    }
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    ForEachPart(text, separator, [&](std::string_view p) {
        parts.emplace_back(p);
        return true;
    });
    return parts;
}

std::string FileTitle(const std::string& path) {
    size_t pos = path.rfind('/');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

void SwapValues(std::int16_t& a, std::int16_t& b) {
    std::int16_t t = a;
    a = b;
    b = t;
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

}  // namespace modCommon
