// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// One atom of a molecule: its element record (shared with the element table)
// and the lattice site it stands on.

#include <cstdint>
#include <memory>

#include "orbix/model/clsAtom.h"

class clsNode {
  public:
    const std::shared_ptr<clsAtom>& Atom() const { return atom_; }
    void Atom(std::shared_ptr<clsAtom> atm) { atom_ = std::move(atm); }
    void Initialize(std::shared_ptr<clsAtom> atm, std::int16_t loc_index) {
        atom_ = std::move(atm);
        index_ = loc_index;
    }
    std::int16_t index() const { return index_; }

  private:
    std::shared_ptr<clsAtom> atom_;
    std::int16_t index_ = 0;
};
