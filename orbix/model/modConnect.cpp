// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/modConnect.h"

#include "orbix/model/modOrbix.h"

namespace modConnect {

std::int16_t FindLinkedPairs(const std::vector<std::int16_t>& sites, std::vector<SitePair>& pairs) {
    pairs.clear();
    for (size_t i = 0; i < sites.size(); ++i) {
        for (size_t j = i + 1; j < sites.size(); ++j) {
            std::int16_t a = sites[i], b = sites[j];
            if (a > b) std::swap(a, b);
            if (modOrbix::SitesLinked(a, b)) pairs.push_back({a, b});
        }
    }
    return static_cast<std::int16_t>(pairs.size());
}

namespace {

void VisitAtom(int p, orbix::Mat1<std::int16_t>& w, std::vector<std::int16_t>& visited) {
    const int n = w.rows();
    visited[p] = -1;
    for (int i = 1; i <= n; ++i) {
        if (i == p || w(p, i) != 1) continue;
        w(i, i) = static_cast<std::int16_t>(w(i, i) - 1);
        if (!visited[i]) VisitAtom(i, w, visited);
    }
}

}  // namespace

std::int16_t CheckStructure(const orbix::Mat1<std::int16_t>& matrix) {
    orbix::Mat1<std::int16_t> w = matrix;
    const int n = w.rows();
    std::vector<std::int16_t> visited(n + 1, 0);

    for (int j = 1; j <= n; ++j) {
        if (w(j, j) >= 0) continue;
        for (int f = 1; f <= n; ++f)
            if (f != j && w(f, f) < 0 && w(j, f) == 1) return scHeteroBonded;
        w(j, j) = static_cast<std::int16_t>(-w(j, j));
    }
    if (n >= 1) VisitAtom(1, w, visited);
    for (int i = 1; i <= n; ++i) {
        if (!visited[i]) return scDisconnected;
        if (w(i, i) < 0) return scOverBonded;
    }
    return scOk;
}

std::string StructureMessage(std::int16_t code) {
    const std::string head = "分子構造が間違っています。";
    switch (code) {
        case scDisconnected:
            return head + "原子が正しく結合されているかチェックしてください。";
        case scOverBonded:
            return head + "繋がっている原子同士が、結合可能かどうかチェックしてください。";
        case scHeteroBonded:
            return head +
                   "１つの炭素原子に２個以上のヘテロ原子は結合できない、あるいはヘテロ原子同士は結"
                   "合できません";
        default:
            return {};
    }
}

}  // namespace modConnect
