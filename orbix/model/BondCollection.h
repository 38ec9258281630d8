// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The drawing's bonds in insertion order, keyed by "Index1,Index2".

#include <memory>
#include <string>
#include <vector>

#include "orbix/model/CBond.h"

class BondCollection {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Position 1 ... Count.
    const std::shared_ptr<CBond>& Item(int position) const;
    // False (nothing added) when a bond with the same key is present.
    bool Add(std::shared_ptr<CBond> bond);
    std::shared_ptr<CBond> Find(const std::string& key) const;
    bool Remove(const std::string& key);
    void Clear() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::shared_ptr<CBond>> items_;
};
