// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Arrays indexed from 1 with checked access: an index outside the bounds
// raises the subscript error.

#include <cstddef>
#include <vector>

#include "orbix/model/RunTimeError.h"

namespace orbix {

template <typename T>
class Vec1 {
  public:
    Vec1() = default;
    explicit Vec1(int n, const T& value = T()) : data_(n > 0 ? n : 0, value) {}

    int size() const { return static_cast<int>(data_.size()); }
    bool empty() const { return data_.empty(); }
    void assign(int n, const T& value = T()) { data_.assign(n > 0 ? n : 0, value); }

    T& operator()(int i) { return data_[check(i)]; }
    const T& operator()(int i) const { return data_[check(i)]; }

    const std::vector<T>& raw() const { return data_; }

  private:
    std::size_t check(int i) const {
        if (i < 1 || i > size()) RaiseSubscript();
        return static_cast<std::size_t>(i - 1);
    }
    std::vector<T> data_;
};

// Row-major n x m matrix, element (row, column), both from 1.
template <typename T>
class Mat1 {
  public:
    Mat1() = default;
    Mat1(int rows, int cols, const T& value = T()) { assign(rows, cols, value); }

    void assign(int rows, int cols, const T& value = T()) {
        rows_ = rows > 0 ? rows : 0;
        cols_ = cols > 0 ? cols : 0;
        data_.assign(static_cast<std::size_t>(rows_) * cols_, value);
    }
    int rows() const { return rows_; }
    int cols() const { return cols_; }

    T& operator()(int r, int c) { return data_[check(r, c)]; }
    const T& operator()(int r, int c) const { return data_[check(r, c)]; }

    // The elements row by row, (1, 1) first, for loops whose bounds were
    // checked once against rows() and cols().
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }

    bool operator==(const Mat1&) const = default;

  private:
    std::size_t check(int r, int c) const {
        if (r < 1 || r > rows_ || c < 1 || c > cols_) RaiseSubscript();
        return static_cast<std::size_t>(r - 1) * cols_ + static_cast<std::size_t>(c - 1);
    }
    int rows_ = 0;
    int cols_ = 0;
    std::vector<T> data_;
};

}  // namespace orbix
