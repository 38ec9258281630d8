#include "orbix/model/modCommon.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace modCommon {
namespace {

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

// Raw bytes of a file: 1 ok, else the read result code.
std::int16_t ReadBytes(const std::string& path, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return rrOpenFailed;
    bytes.clear();
    char buf[65536];
    std::int16_t result = rrOk;
    for (;;) {
        size_t got = std::fread(buf, 1, sizeof buf, f);
        bytes.append(buf, got);
        if (bytes.size() > kMaxTextFileBytes) {
            result = rrReadFailed;
            break;
        }
        if (got < sizeof buf) {
            if (std::ferror(f)) result = rrReadFailed;
            break;
        }
    }
    if (std::fclose(f) != 0 && result == rrOk) result = rrCloseFailed;
    return result;
}

}  // namespace

std::int16_t ReadTextFile(const std::string& path, std::string& text) {
    std::string bytes;
    if (ReadBytes(path, bytes) != rrOk) return 0;
    text = DecodeAnsi(bytes);
    return 1;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    // Split on the raw bytes: CR and LF never occur inside a CP932 character.
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        char ch = bytes[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(DecodeAnsi(bytes.substr(start, i - start)));
            if (ch == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.push_back(DecodeAnsi(bytes.substr(start)));
    return lines;
}

std::int16_t ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    lines.clear();
    std::int16_t rc = ReadBytes(path, bytes);
    if (rc != rrOk) return rc;
    lines = SplitLines(bytes);
    return lines.empty() ? rrEmpty : rrOk;
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            break;
        }
        parts.emplace_back(text.substr(start, pos - start));
        start = pos + 1;
        if (start == text.size()) break;  // a final separator adds no empty part
    }
    return parts;
}

namespace testing {
long WriteFailsAfterBytes = -1;
}

std::int16_t WriteTextFile(const std::string& path, const std::string& text) {
    std::string bytes;
    if (!EncodeAnsi(text + "\r\n", bytes)) return 0;

    // A unique temporary file beside the target, renamed over it at the end.
    std::string tmpl = path + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return 0;
    const std::string& tmp = tmpl;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    if (testing::WriteFailsAfterBytes >= 0 &&
        static_cast<size_t>(testing::WriteFailsAfterBytes) < left) {
        left = static_cast<size_t>(testing::WriteFailsAfterBytes);
        ok = false;
    }
    while (left > 0) {
        ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    // mkstemp creates mode 0600; give the file the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        std::remove(tmp.c_str());
        return 0;
    }
    return 1;
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
