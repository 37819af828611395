// Fixed tables indexed as the program's tables are: from 1 (bodies, signs,
// months, chart entries) or from another first index. Indexing is checked:
// RangeError.
#pragma once

#include <array>
#include <cstddef>

#include "checked.h"

namespace kv {

template <class T, std::size_t N, int First = 1>
struct Table {
  std::array<T, N> items{};

  static constexpr int first() { return First; }
  static constexpr int last() { return First + static_cast<int>(N) - 1; }
  static constexpr std::size_t size() { return N; }

  constexpr T& operator[](int i) { return items[offset(i)]; }
  constexpr const T& operator[](int i) const { return items[offset(i)]; }

  constexpr auto begin() { return items.begin(); }
  constexpr auto end() { return items.end(); }
  constexpr auto begin() const { return items.begin(); }
  constexpr auto end() const { return items.end(); }

  bool operator==(const Table&) const = default;

 private:
  static constexpr std::size_t offset(int i) {
    if (i < First || i > last()) throw RangeError();
    return static_cast<std::size_t>(i - First);
  }
};

}  // namespace kv
