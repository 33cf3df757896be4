// Errors the editor raises. An operation that fails with one of these ends at
// once; what it changed before stays. Front ends catch them at the event boundary.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kelvane {

class EVeskError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index outside a list: a history record that does not fit the text, for example.
class EListError : public EVeskError {
 public:
  explicit EListError(int64_t index)
      : EVeskError("List index out of bounds (" + std::to_string(index) + ")") {}
};

// The lists' one index check: an index outside 0 … Count−1 raises EListError.
// Returns the index as a size for the container underneath.
inline size_t CheckedIndex(int64_t index, int64_t count) {
  if (index < 0 || index >= count) throw EListError(index);
  return static_cast<size_t>(index);
}

}  // namespace kelvane
