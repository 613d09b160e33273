#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "store/error.h"

namespace orvalle {

// A fixed array whose every index is checked: an index out of range throws
// orvalle::Error naming the table, never wraps or reads past the end.
template <typename T, size_t N>
class CheckedArray {
 public:
  T& operator[](int index) { return m_items[checked(index)]; }
  const T& operator[](int index) const { return m_items[checked(index)]; }

  static constexpr int size() { return static_cast<int>(N); }
  void fill(const T& value) { m_items.fill(value); }

  auto begin() { return m_items.begin(); }
  auto end() { return m_items.end(); }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

  bool operator==(const CheckedArray&) const = default;

 private:
  static size_t checked(int index) {
    if (index < 0 || static_cast<size_t>(index) >= N) {
      throw Error("範囲外の番号です: " + std::to_string(index) + " (0-" + std::to_string(N - 1) +
                  ")");
    }
    return static_cast<size_t>(index);
  }

  std::array<T, N> m_items{};
};

}  // namespace orvalle
