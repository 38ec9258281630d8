// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// One atom type of the element table, with its parameters for the simple
// LCAO pi-electron method (all in units of beta relative to alpha).

#include <cstdint>
#include <string>
#include <vector>

class clsAtom {
  public:
    // fields: the six fields of one table line in file order, then the
    // record's index as text (seven in all). False when the count is not
    // seven, E_num <= 0 or Hands <= 0 (checked in that order). A field that
    // is not a number raises the conversion error.
    bool Init(const std::vector<std::string>& fields);

    std::int16_t index() const { return index_; }
    std::string Name() const { return {}; }
    std::string Image() const { return {}; }
    const std::string& Caption() const { return caption_; }
    std::int16_t E_num() const { return eNum_; }
    float Ha() const { return ha_; }               // Coulomb parameter h
    float Hb() const { return hb_; }               // correction lent to a bonded carbon
    float Hl() const { return hl_; }               // resonance factor; k = Hl(a)·Hl(b)
    std::int16_t Hands() const { return hands_; }  // valence

    bool IsCarbon() const { return index_ == 1; }

  private:
    std::int16_t index_ = 0;
    std::string caption_;
    std::int16_t eNum_ = 0;
    float ha_ = 0, hb_ = 0, hl_ = 0;
    std::int16_t hands_ = 0;
};
