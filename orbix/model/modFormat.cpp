// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/modFormat.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modCommon.h"

namespace modFormat {
namespace {

// A plain decimal number: [+-] digits [. digits] [e|E [+-] digits], with at
// least one digit in the mantissa.
bool IsDecimalNumber(std::string_view s) {
    size_t i = 0, n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == n;
}

double ToDouble(std::string_view text) {
    std::string s = modCommon::Trim(text);
    if (s.size() > 400 || !IsDecimalNumber(s)) orbix::RaiseTypeMismatch();
    errno = 0;
    double v = std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(v)) orbix::RaiseOverflow();
    return v;
}

}  // namespace

std::int16_t ToInt16(std::string_view text) {
    double v = std::nearbyint(ToDouble(text));
    if (v < -32768.0 || v > 32767.0) orbix::RaiseOverflow();
    return static_cast<std::int16_t>(v);
}

float ToSingle(std::string_view text) {
    double v = ToDouble(text);
    if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))
        orbix::RaiseOverflow();
    return static_cast<float>(v);
}

namespace {

// Fixed-point text of |value| with `decimals` decimals (the exact binary
// value rounded, ties to even, as printf's "%.*f"), and whether the rounded
// value is negative.
std::string FixedAbs(double value, int decimals, bool& negative) {
    std::string s = fmt::format("{:.{}f}", std::fabs(value), decimals);
    bool zero = true;
    for (char ch : s)
        if (ch >= '1' && ch <= '9') zero = false;
    negative = value < 0 && !zero;
    return s;
}

std::string WithIntDigits(double value, int intDigits, int decimals) {
    bool negative;
    std::string s = FixedAbs(value, decimals, negative);
    size_t point = s.find('.');
    size_t have = point == std::string::npos ? s.size() : point;
    if (static_cast<int>(have) < intDigits) s.insert(0, intDigits - have, '0');
    return negative ? "-" + s : s;
}

}  // namespace

std::string Format(double value, std::string_view format) {
    if (format == "0.00") return WithIntDigits(value, 1, 2);
    if (format == "0.000") return WithIntDigits(value, 1, 3);
    if (format == "0.0000") return WithIntDigits(value, 1, 4);
    if (format == "00.0000") return WithIntDigits(value, 2, 4);
    if (format == "00.000000") return WithIntDigits(value, 2, 6);
    if (format == "0") return WithIntDigits(value, 1, 0);
    if (format == "##") {
        std::string s = WithIntDigits(value, 0, 0);
        return s == "0" || s.empty() ? std::string() : s;
    }
    if (format == "####.####") {
        bool negative;
        std::string s = FixedAbs(value, 4, negative);
        size_t point = s.find('.');
        std::string intPart = s.substr(0, point);
        std::string frac = s.substr(point + 1);
        while (!frac.empty() && frac.back() == '0') frac.pop_back();
        if (intPart == "0") intPart.clear();
        return (negative ? "-" : "") + intPart + "." + frac;
    }
    orbix::RaiseTypeMismatch();
}

std::string RightAlign(std::string_view text, int width) {
    // Width counts characters, not bytes; the texts here are ASCII.
    std::string s(text);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
    return s;
}

namespace {

// |value|·10^4 rounded to a whole number as "{:.4f}" rounds the fourth
// decimal (exactly, ties to even), for |value| < 2^53 / 10^4; false beyond.
// With |value| = m·2^−k exactly (m the 53-bit significand) and 10^4 = 625·2^4,
// the product m·625 (below 2^63) is shifted right by k − 4 and the remainder
// decides the rounding.
bool TenThousandths(double value, std::uint64_t& n) {
    if (!(std::fabs(value) < 9007199254740992.0 / 10000.0)) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>(bits >> 52 & 0x7ff);
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) |
                            (biased != 0 ? std::uint64_t{1} << 52 : 0);  // subnormal: no 1
    const int shift = 1075 - (biased != 0 ? biased : 1) - 4;             // at least 9 here
    if (m == 0 || shift >= 64) {
        n = 0;  // zero, or under half a unit
        return true;
    }
    const std::uint64_t x = m * 625;
    const std::uint64_t whole = x >> shift;
    const std::uint64_t rest = x - (whole << shift);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    n = whole + (rest > half || (rest == half && (whole & 1) != 0) ? 1 : 0);
    return true;
}

}  // namespace

std::string TableCell(double value) {
    // RightAlign(Format(value, "####.####")) in one buffer: the table has a
    // cell for every coefficient, and the headless calculator writes them all.
    char text[400];
    char* const textEnd = text + sizeof text;
    std::uint64_t n = 0;
    char* end;
    if (TenThousandths(value, n)) {
        char* p = std::to_chars(text, textEnd, n / 10000).ptr;
        const auto fraction = static_cast<unsigned>(n % 10000);
        *p++ = '.';
        for (unsigned div = 1000; div > 0; div /= 10)
            *p++ = static_cast<char>('0' + fraction / div % 10);
        end = p;
    } else {
        end = fmt::format_to_n(text, sizeof text, "{:.4f}", std::fabs(value)).out;
    }
    const char* const point = end - 5;
    const char* fracEnd = end;
    while (fracEnd > point + 1 && fracEnd[-1] == '0') --fracEnd;
    bool zero = true;
    for (const char* p = text; p < end; ++p)
        if (*p >= '1' && *p <= '9') zero = false;
    const bool noInteger = point - text == 1 && text[0] == '0';
    const char* const first = noInteger ? point : text;
    const bool minus = value < 0 && !zero;
    const auto length = static_cast<size_t>(fracEnd - first) + (minus ? 1 : 0);
    std::string cell(std::max<size_t>(length, 12), ' ');
    char* out = cell.data() + (cell.size() - length);
    if (minus) *out++ = '-';
    std::memcpy(out, first, static_cast<size_t>(fracEnd - first));
    return cell;
}

std::string PrintInt(int value) {
    std::string digits = std::to_string(value < 0 ? -static_cast<long>(value) : value);
    return (value < 0 ? "-" : " ") + digits + " ";
}

std::string Exact(double value) {
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, value);
        if (std::strtod(buf, nullptr) == value) break;
    }
    return buf;
}

}  // namespace modFormat
