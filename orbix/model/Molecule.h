// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The molecule handed to the calculation: atoms in a fixed order (an atom's
// position 1 ... Count is its number in every table), the bond matrix, the
// pi-electron count, the HOMO number and the total pi energy.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orbix/model/Array1.h"
#include "orbix/model/BondCollection.h"
#include "orbix/model/clsNode.h"

class Molecule {
  public:
    // Takes the nodes in order and sets one triangle entry of the bond matrix
    // per bond whose two sites both carry a node. filename and Energy are
    // kept. An empty node list or an electron total beyond 16 bits raises an
    // error.
    void Initialize(const std::vector<std::shared_ptr<clsNode>>& Nodes,
                    const BondCollection& Bonds);

    const std::string& filename() const { return filename_; }
    void filename(const std::string& name) { filename_ = name; }

    // True when atoms i and j are bonded, in either order; positions outside
    // 1 ... Count raise the subscript error.
    bool Bond(int i, int j) const;
    const std::shared_ptr<clsNode>& Item(int i) const;
    std::int16_t Count() const { return static_cast<std::int16_t>(nodes_.size()); }
    std::int16_t E_num() const { return eNum_; }
    std::int16_t Homo_num() const { return homoNum_; }
    double Energy() const { return energy_; }
    void Energy(double e) { energy_ = e; }

  private:
    std::string filename_;
    std::vector<std::shared_ptr<clsNode>> nodes_;
    orbix::Mat1<std::int16_t> bonds_;
    std::int16_t eNum_ = 0;
    std::int16_t homoNum_ = 0;
    double energy_ = 0;
};
