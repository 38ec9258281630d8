// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The element table: records in file order (position n has index n), each
// also found by its caption; captions compare without regard to letter case.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "orbix/model/clsAtom.h"

class AtomTable {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Position 1 ... Count; anything else raises the subscript error.
    const std::shared_ptr<clsAtom>& Item(int position) const;
    // nullptr when no record has this caption.
    std::shared_ptr<clsAtom> Find(const std::string& caption) const;
    // False (and nothing added) when the caption is already present.
    bool Add(std::shared_ptr<clsAtom> atom);
    void Clear();

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::shared_ptr<clsAtom>> items_;
    // Position (from 0) of each caption, by its key with letters in lower
    // case, so that a large table is read in linear time.
    std::unordered_map<std::string, size_t> positions_;
};

// Key comparison of the program's keyed collections: ASCII letters without
// regard to case, everything else exactly.
bool SameKey(const std::string& a, const std::string& b);
