// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/Molecule.h"

#include "orbix/model/RunTimeError.h"

void Molecule::Initialize(const std::vector<std::shared_ptr<clsNode>>& Nodes,
                          const BondCollection& Bonds) {
    nodes_.clear();
    int total = 0;
    for (const auto& node : Nodes) {
        nodes_.push_back(node);
        total += node->Atom()->E_num();
        if (total > 32767) orbix::RaiseOverflow();
    }
    eNum_ = static_cast<std::int16_t>(total);
    homoNum_ = static_cast<std::int16_t>(total % 2 == 0 ? total / 2 : (total + 1) / 2);

    if (nodes_.empty()) orbix::RaiseSubscript();
    bonds_.assign(Count(), Count(), 0);
    for (const auto& bond : Bonds) {
        int first = 0, second = 0;
        for (int pos = 1; pos <= Count(); ++pos) {
            std::int16_t site = nodes_[pos - 1]->index();
            if (site == bond->Index1())
                first = pos;
            else if (site == bond->Index2())
                second = pos;
            if (first && second) {
                bonds_(first, second) = 1;
                break;
            }
        }
    }
}

bool Molecule::Bond(int i, int j) const { return bonds_(i, j) != 0 || bonds_(j, i) != 0; }

const std::shared_ptr<clsNode>& Molecule::Item(int i) const {
    if (i < 1 || i > Count()) orbix::RaiseSubscript();
    return nodes_[i - 1];
}
