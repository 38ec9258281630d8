// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Run-time errors of the program, numbered as the routines that trap them
// expect (subscript 9, overflow 6, type mismatch 13, ...).

#include <stdexcept>
#include <string>

namespace orbix {

class RunTimeError : public std::runtime_error {
  public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }
    std::string Description() const { return what(); }

  private:
    int number_;
};

enum ErrorNumber : int {
    errOverflow = 6,
    errSubscript = 9,
    errTypeMismatch = 13,
};

[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseSubscript();
[[noreturn]] void RaiseTypeMismatch();

}  // namespace orbix
