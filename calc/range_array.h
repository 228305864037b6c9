// Fixed-size array with a declared index range. The calculator's tables are indexed
// from 1 (or from negative years); an index outside the range is a range error, never a
// write past the end.
#pragma once

#include <array>
#include <cstddef>

#include "errors.h"

namespace vd {

template <class T, int Lo, int Hi>
class RangeArray {
    static_assert(Hi >= Lo);

  public:
    static constexpr int low = Lo;
    static constexpr int high = Hi;
    static constexpr std::size_t size = static_cast<std::size_t>(Hi - Lo + 1);

    constexpr T& operator[](int i) {
        check(i);
        return data_[static_cast<std::size_t>(i - Lo)];
    }
    constexpr const T& operator[](int i) const {
        check(i);
        return data_[static_cast<std::size_t>(i - Lo)];
    }
    constexpr void fill(const T& v) { data_.fill(v); }
    // Unchecked access for loops whose bounds are already proven.
    constexpr T* begin() { return data_.data(); }
    constexpr T* end() { return data_.data() + size; }
    constexpr const T* begin() const { return data_.data(); }
    constexpr const T* end() const { return data_.data() + size; }

  private:
    static constexpr void check(int i) {
        if (i < Lo || i > Hi) throw Error(ErrorCode::range);
    }
    std::array<T, size> data_{};
};

}  // namespace vd
