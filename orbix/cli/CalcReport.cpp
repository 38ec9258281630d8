#include "orbix/cli/CalcReport.h"

#include <QJsonArray>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modFormat.h"
#include "orbix/model/modOrbix.h"

namespace CalcReport {
namespace {

using namespace modCalculation;

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString F(double v, const char* format) { return Q(modFormat::Format(v, format)); }

QJsonArray Matrix(const orbix::Mat1<double>& m) {
    QJsonArray rows;
    for (int r = 1; r <= m.rows(); ++r) {
        QJsonArray row;
        for (int c = 1; c <= m.cols(); ++c) row.append(m(r, c));
        rows.append(row);
    }
    return rows;
}

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

QJsonObject Json(const QString& file, const CalcSession::Outcome& outcome) {
    QJsonObject o;
    o["file"] = file;
    o["code"] = outcome.code;
    o["message"] = Q(outcome.message);
    const bool ok = outcome.code == CalcSession::kAccepted;
    const Molecule* mol = ok ? modOrbix::CurrentMolecule.get() : nullptr;
    const int n = ok ? mol->Count() : 0;
    o["n"] = n;
    o["E_num"] = ok ? mol->E_num() : 0;
    o["Homo_num"] = ok ? mol->Homo_num() : 0;
    o["maxOff"] = ok ? outcome.maxOff : 0.0;
    o["Energy"] = ok ? mol->Energy() : 0.0;
    QJsonArray eig, levelE, levelDeg, occ, pos, grid;
    if (ok) {
        for (int k = 1; k <= n; ++k) eig.append(EigVal(k));
        for (int i = 1; i <= LevelCount; ++i) {
            levelE.append(LevelE(i));
            levelDeg.append(static_cast<double>(LevelDeg(i)));
        }
        for (int k = 1; k <= n; ++k) occ.append(Occ(k));
        for (int i = 1; i <= n; ++i)
            pos.append(
                QJsonArray{static_cast<double>(AtomPos(i).x), static_cast<double>(AtomPos(i).y)});
    }
    o["EigVal"] = eig;
    o["Cvec"] = ok ? Matrix(Cvec) : QJsonArray();
    o["LevelCount"] = ok ? LevelCount : 0;
    o["LevelE"] = levelE;
    o["LevelDeg"] = levelDeg;
    o["Occ"] = occ;
    o["P"] = ok ? Matrix(Hmat) : QJsonArray();
    o["Hmat0"] = ok ? Matrix(Hmat0) : QJsonArray();
    o["AtomPos"] = pos;
    std::string csv;
    if (ok) {
        TextGrid cells = EigenTableCells();
        for (const auto& row : cells) {
            QJsonArray r;
            for (const auto& cell : row) r.append(Q(cell));
            grid.append(r);
        }
        csv = GridCsv(cells);
    }
    o["grid"] = grid;
    o["csv"] = Q(csv);
    return o;
}

}  // namespace CalcReport
