// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/cli/CalcJson.h"

#include <fmt/format.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/Utf8.h"
#include "orbix/model/modOrbix.h"

namespace CalcJson {

namespace {

// The shortest digits of a positive value come from {fmt}'s Dragonbox, which
// finds the same digits as std::to_chars in about a third of the time; they
// are then set out as std::to_chars sets them out.
int ShortestText(double value, char* text) {
    char* out = text;
    if (std::signbit(value)) *out++ = '-';
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(value));
    char digits[20];
    const int k = static_cast<int>(
        std::to_chars(digits, digits + sizeof digits, decimal.significand).ptr - digits);
    const int e = decimal.exponent + k - 1;  // of the first digit
    const int exponentDigits = std::abs(e) >= 100 ? 3 : 2;
    const int exponentLength = k + (k > 1 ? 1 : 0) + 2 + exponentDigits;
    const int plainLength = e >= 0 ? std::max(e + 1, k + (e + 1 < k ? 1 : 0)) : 1 - e + k;
    if (plainLength <= exponentLength) {
        if (e < 0) {
            *out++ = '0';
            *out++ = '.';
            out = std::fill_n(out, -e - 1, '0');
            out = std::copy_n(digits, k, out);
        } else if (e + 1 >= k) {
            out = std::copy_n(digits, k, out);
            out = std::fill_n(out, e + 1 - k, '0');
        } else {
            out = std::copy_n(digits, e + 1, out);
            *out++ = '.';
            out = std::copy_n(digits + e + 1, k - e - 1, out);
        }
    } else {
        *out++ = digits[0];
        if (k > 1) {
            *out++ = '.';
            out = std::copy_n(digits + 1, k - 1, out);
        }
        *out++ = 'e';
        *out++ = e < 0 ? '-' : '+';
        if (std::abs(e) < 10) *out++ = '0';
        out = std::to_chars(out, out + 3, std::abs(e)).ptr;
    }
    return static_cast<int>(out - text);
}

}  // namespace

int NumberText(double value, char* text) {
    if (!std::isfinite(value)) {
        std::memcpy(text, "null", 4);
        return 4;
    }
    constexpr double k2To53 = 9007199254740992.0;
    const double magnitude = std::fabs(value);
    if (magnitude <= k2To53 && value == std::trunc(value))
        return static_cast<int>(std::to_chars(text, text + 32, static_cast<long long>(value)).ptr -
                                text);
    // Shortest round-trip digits, plain or with an exponent, whichever is
    // shorter (plain on a tie); beyond 2^53 the plain form is padded with zeros.
    return ShortestText(value, text);
}

namespace {

using namespace modCalculation;

}  // namespace

std::string ValidUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    while (!s.empty()) {
        const size_t length = modCommon::Utf8SequenceLength(s);
        if (length) {
            out.append(s.data(), length);
            s.remove_prefix(length);
        } else {
            out.append("\xef\xbf\xbd");  // U+FFFD
            s.remove_prefix(1);
        }
    }
    return out;
}

namespace {

// RapidJSON's writer, with rows of numbers written in place: the writer
// places the separator, the row's text goes straight into the buffer (numbers
// need no escaping), and the writer's work per element is saved.
class Writer : public rapidjson::Writer<rapidjson::StringBuffer> {
  public:
    using rapidjson::Writer<rapidjson::StringBuffer>::Writer;

    void NumberRow(const double* values, int count) {
        Prefix(rapidjson::kArrayType);
        const size_t room = 2 + static_cast<size_t>(count) * 33;  // 32 a number, a comma
        char* const start = os_->Push(room);
        char* p = start;
        *p++ = '[';
        for (int i = 0; i < count; ++i) {
            if (i) *p++ = ',';
            p += NumberText(values[i], p);
        }
        *p++ = ']';
        os_->Pop(room - static_cast<size_t>(p - start));
        EndValue(true);
    }

    // A plain string (below), which needs no escape: copied in quotes.
    void PlainString(std::string_view s) {
        Prefix(rapidjson::kStringType);
        char* p = os_->Push(s.size() + 2);
        *p++ = '"';
        std::memcpy(p, s.data(), s.size());
        p[s.size()] = '"';
        EndValue(true);
    }
};

// Valid UTF-8 with no control character, quote or backslash: the writer
// would copy it as it stands.
bool IsPlain(std::string_view s) {
    bool plain = true, ascii = true;
    for (const unsigned char ch : s) {
        plain &= ch >= 0x20 && ch != '"' && ch != '\\';
        ascii &= ch < 0x80;
    }
    return plain && (ascii || ValidUtf8(s).size() == s.size());
}

void Number(Writer& w, double value) {
    char text[32];
    w.RawValue(text, static_cast<size_t>(NumberText(value, text)), rapidjson::kNumberType);
}

void String(Writer& w, std::string_view s) {
    if (IsPlain(s)) {
        w.PlainString(s);
        return;
    }
    const std::string valid = ValidUtf8(s);
    w.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void Key(Writer& w, std::string_view key) {
    w.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void Matrix(Writer& w, const orbix::Mat1<double>& m) {
    w.StartArray();
    for (int r = 1; r <= m.rows(); ++r)
        w.NumberRow(m.data() + static_cast<size_t>(r - 1) * m.cols(), m.cols());
    w.EndArray();
}

}  // namespace

Result TakeResult(std::string_view file, const CalcSession::Outcome& outcome) {
    Result r;
    r.file = file;
    r.outcome = outcome;
    if (outcome.code != CalcSession::kAccepted) return r;
    const Molecule& mol = *modOrbix::CurrentMolecule;
    const int n = mol.Count();
    for (int i = 1; i <= n; ++i) r.atomPos.push_back(AtomPos(i));
    r.cvec = Cvec;
    r.hmat0 = Hmat0;
    r.p = Hmat;
    r.eigVal = EigVal;
    r.levelE.assign(LevelCount);
    for (int i = 1; i <= LevelCount; ++i) {
        r.levelE(i) = LevelE(i);
        r.levelDeg.push_back(LevelDeg(i));
    }
    for (int k = 1; k <= n; ++k) r.occ.push_back(Occ(k));
    r.eNum = mol.E_num();
    r.homoNum = mol.Homo_num();
    r.energy = mol.Energy();
    return r;
}

void AppendLine(std::string& out, const Result& r) {
    const bool ok = r.outcome.code == CalcSession::kAccepted;
    const int n = static_cast<int>(r.atomPos.size());
    // The buffer keeps its memory from one line to the next.
    thread_local rapidjson::StringBuffer buffer;
    buffer.Clear();
    Writer w(buffer);
    w.StartObject();

    Key(w, "AtomPos");
    w.StartArray();
    for (const auto& pos : r.atomPos) {
        w.StartArray();
        Number(w, static_cast<double>(pos.x));
        Number(w, static_cast<double>(pos.y));
        w.EndArray();
    }
    w.EndArray();
    Key(w, "Cvec");
    Matrix(w, r.cvec);
    Key(w, "E_num");
    w.Int(r.eNum);
    Key(w, "EigVal");
    w.NumberRow(r.eigVal.raw().data(), r.eigVal.size());
    Key(w, "Energy");
    Number(w, r.energy);
    Key(w, "Hmat0");
    Matrix(w, r.hmat0);
    Key(w, "Homo_num");
    w.Int(r.homoNum);
    Key(w, "LevelCount");
    w.Int(r.levelE.size());
    Key(w, "LevelDeg");
    w.StartArray();
    for (const float d : r.levelDeg) Number(w, static_cast<double>(d));
    w.EndArray();
    Key(w, "LevelE");
    w.NumberRow(r.levelE.raw().data(), r.levelE.size());
    Key(w, "Occ");
    w.StartArray();
    for (const std::int16_t o : r.occ) w.Int(o);
    w.EndArray();
    Key(w, "P");
    Matrix(w, r.p);

    Key(w, "code");
    w.Int(r.outcome.code);
    TextGrid cells;
    if (ok) cells = EigenTableCells(r.eigVal, r.cvec);
    // The table's cells need no escape, and then neither does its CSV text
    // but for the line ends, written here already escaped.
    const bool plainCells = std::all_of(cells.begin(), cells.end(), [](const auto& row) {
        return std::all_of(row.begin(), row.end(), IsPlain);
    });
    Key(w, "csv");
    if (plainCells)
        w.PlainString(GridCsv(cells, "\\r\\n"));
    else
        String(w, GridCsv(cells));
    Key(w, "file");
    String(w, r.file);
    Key(w, "grid");
    w.StartArray();
    for (const auto& row : cells) {
        w.StartArray();
        for (const auto& cell : row) {
            if (plainCells)
                w.PlainString(cell);
            else
                String(w, cell);
        }
        w.EndArray();
    }
    w.EndArray();
    Key(w, "maxOff");
    Number(w, ok ? r.outcome.maxOff : 0.0);
    Key(w, "message");
    String(w, r.outcome.message);
    Key(w, "n");
    w.Int(n);
    w.EndObject();
    out.append(buffer.GetString(), buffer.GetSize());
    out.push_back('\n');
}

void AppendLine(std::string& out, std::string_view file, const CalcSession::Outcome& outcome) {
    AppendLine(out, TakeResult(file, outcome));
}

}  // namespace CalcJson
