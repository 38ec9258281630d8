// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/cli/CalcReport.h"

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/cli/CalcJson.h"
#include "orbix/model/modFormat.h"
#include "orbix/model/modOrbix.h"

namespace CalcReport {
namespace {

using namespace modCalculation;

std::string F(double v, const char* format) { return modFormat::Format(v, format); }
std::string N(int v) { return std::to_string(v); }

// s padded with spaces to width characters, counted in UTF-16 units.
std::string LeftJustified(const std::string& s, int width) {
    int units = 0;
    for (const unsigned char ch : s) {
        if ((ch & 0xc0) != 0x80) ++units;
        if (ch >= 0xf0) ++units;  // outside the basic plane: a surrogate pair
    }
    return units < width ? s + std::string(static_cast<size_t>(width - units), ' ') : s;
}

}  // namespace

std::string Text(std::string_view file, double maxOff) {
    const Molecule& mol = *modOrbix::CurrentMolecule;
    const int n = mol.Count();
    std::string out;
    auto line = [&out](const std::string& s = std::string()) {
        out += s;
        out += '\n';
    };

    line("===== " + std::string(file) + " =====");
    line("原子数 = " + N(n) + "　π電子数 = " + N(mol.E_num()));
    line("全エネルギー = " + F(mol.Energy(), "00.0000"));
    line("最大の非対角要素 = " + F(maxOff, "00.000000"));
    line();
    line("*********** 固有値および固有ベクトル ************");
    for (const auto& row : EigenTableCells()) {
        std::string text = LeftJustified(row[0], 10);
        for (size_t c = 1; c < row.size(); ++c) text += modFormat::RightAlign(row[c]);
        line(text);
    }
    line();
    line("*** 軌道エネルギー準位 ***");
    int j = 1;
    for (int i = 1; i <= LevelCount; ++i) {
        const int d = static_cast<int>(LevelDeg(i));
        std::string occ;
        for (int k = j; k < j + d; ++k) occ += (k > j ? " " : "") + N(Occ(k));
        line("準位 " + N(i) + ": x = " + F(LevelE(i), "00.0000") + "  縮退度 " + N(d) + "  電子 " +
             occ);
        j += d;
    }
    const int h = mol.Homo_num();
    line((mol.E_num() % 2 ? "ＳＯＭＯ = 軌道 " : "ＨＯＭＯ = 軌道 ") + N(h));
    if (h + 1 <= n) line("ＬＵＭＯ = 軌道 " + N(h + 1));
    line();
    line("*** π電子密度 ***");
    for (int i = 1; i <= n; ++i)
        line("原子 " + N(i) + " (" + mol.Item(i)->Atom()->Caption() + ", サイト " +
             N(mol.Item(i)->index()) + "): " + F(Hmat(i, i), "0.000"));
    line();
    line("*** 結合次数 (σ結合 + π結合次数) ***");
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k < i; ++k)
            if (mol.Bond(i, k)) line(N(k) + "-" + N(i) + ": " + F(1 + Hmat(i, k), "0.000"));
    line();
    line("*** クーロン積分 (α + h·β の h) ***");
    for (int i = 1; i <= n; ++i) line("原子 " + N(i) + ": " + F(Hmat0(i, i), "0.00"));
    line();
    line("*** 共鳴積分 (k·β の k) ***");
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k < i; ++k)
            if (mol.Bond(i, k)) line(N(k) + "-" + N(i) + ": " + F(Hmat0(k, i), "0.00"));
    return CalcJson::ValidUtf8(out);  // a caption from a table that is not UTF-8
}

}  // namespace CalcReport
