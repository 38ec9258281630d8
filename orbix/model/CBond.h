// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// One bond of the drawing between two lattice sites, smaller site first when
// made by the editor; State is 1 while the bond is selected.

#include <cstdint>
#include <string>

class CBond {
  public:
    std::int16_t State() const { return state_; }
    void State(std::int16_t v) { state_ = v; }
    std::int16_t Index2() const { return index2_; }
    void Index2(std::int16_t v) { index2_ = v; }
    std::int16_t Index1() const { return index1_; }
    void Index1(std::int16_t v) { index1_ = v; }
    void Selected() { state_ = 1; }
    void Refresh() { state_ = 0; }

    // Key in the bond collection: "Index1,Index2".
    std::string Key() const { return std::to_string(index1_) + "," + std::to_string(index2_); }

  private:
    std::int16_t state_ = 0;
    std::int16_t index2_ = 0;
    std::int16_t index1_ = 0;
};
