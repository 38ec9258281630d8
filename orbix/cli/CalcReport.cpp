#include "orbix/cli/CalcReport.h"

#include <QStringList>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modFormat.h"
#include "orbix/model/modOrbix.h"

namespace CalcReport {
namespace {

using namespace modCalculation;

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString F(double v, const char* format) { return Q(modFormat::Format(v, format)); }

}  // namespace

QString Text(const QString& file, double maxOff) {
    const Molecule& mol = *modOrbix::CurrentMolecule;
    const int n = mol.Count();
    QString out;
    auto line = [&out](const QString& s = QString()) { out += s + '\n'; };

    line("===== " + file + " =====");
    line("原子数 = " + QString::number(n) + "　π電子数 = " + QString::number(mol.E_num()));
    line("全エネルギー = " + F(mol.Energy(), "00.0000"));
    line("最大の非対角要素 = " + F(maxOff, "00.000000"));
    line();
    line("*********** 固有値および固有ベクトル ************");
    for (const auto& row : EigenTableCells()) {
        QString text = Q(row[0]).leftJustified(10);
        for (size_t c = 1; c < row.size(); ++c) text += Q(modFormat::RightAlign(row[c]));
        line(text);
    }
    line();
    line("*** 軌道エネルギー準位 ***");
    int j = 1;
    for (int i = 1; i <= LevelCount; ++i) {
        const int d = static_cast<int>(LevelDeg(i));
        QStringList occ;
        for (int k = j; k < j + d; ++k) occ << QString::number(Occ(k));
        line(QString("準位 %1: x = %2  縮退度 %3  電子 %4")
                 .arg(i)
                 .arg(F(LevelE(i), "00.0000"))
                 .arg(d)
                 .arg(occ.join(' ')));
        j += d;
    }
    const int h = mol.Homo_num();
    if (mol.E_num() % 2)
        line(QString("ＳＯＭＯ = 軌道 %1").arg(h));
    else
        line(QString("ＨＯＭＯ = 軌道 %1").arg(h));
    if (h + 1 <= n) line(QString("ＬＵＭＯ = 軌道 %1").arg(h + 1));
    line();
    line("*** π電子密度 ***");
    for (int i = 1; i <= n; ++i)
        // One arg call substitutes all at once: a caption holding "%3" is
        // never read as a pattern.
        line(QString("原子 %1 (%2, サイト %3): %4")
                 .arg(QString::number(i), Q(mol.Item(i)->Atom()->Caption()),
                      QString::number(mol.Item(i)->index()), F(Hmat(i, i), "0.000")));
    line();
    line("*** 結合次数 (σ結合 + π結合次数) ***");
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k < i; ++k)
            if (mol.Bond(i, k))
                line(QString("%1-%2: %3").arg(k).arg(i).arg(F(1 + Hmat(i, k), "0.000")));
    line();
    line("*** クーロン積分 (α + h·β の h) ***");
    for (int i = 1; i <= n; ++i) line(QString("原子 %1: %2").arg(i).arg(F(Hmat0(i, i), "0.00")));
    line();
    line("*** 共鳴積分 (k·β の k) ***");
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k < i; ++k)
            if (mol.Bond(i, k))
                line(QString("%1-%2: %3").arg(k).arg(i).arg(F(Hmat0(k, i), "0.00")));
    return out;
}

}  // namespace CalcReport
