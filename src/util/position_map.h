// A map from script positions (non-negative 32-bit integers) to values, for
// the interpreter's caches that are consulted on every statement. Open
// addressing with linear probing over a power-of-two table and a
// multiplicative hash: a lookup is a multiply, a shift and usually one
// compare, where a node-based hash map would divide and chase a pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orivane {

template <typename Value>
class PositionMap {
 public:
  // The value stored for `key`, or nullptr.
  Value* Find(int32_t key) {
    if (slots_.empty()) return nullptr;
    for (size_t i = Home(key);; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.key == key) return &slot.value;
      if (slot.key == kEmpty) return nullptr;
    }
  }

  // Stores a value for a key that is not present yet; returns it. Pointers
  // returned earlier are invalidated when the table grows.
  Value& Insert(int32_t key, Value value) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    size_t i = Home(key);
    while (slots_[i].key != kEmpty) i = (i + 1) & mask_;
    slots_[i].key = key;
    slots_[i].value = std::move(value);
    ++size_;
    return slots_[i].value;
  }

  size_t size() const { return size_; }
  void Clear() {
    slots_.clear();
    size_ = 0;
    mask_ = 0;
    shift_ = 64;
  }

 private:
  static constexpr int32_t kEmpty = -1;
  struct Slot {
    int32_t key = kEmpty;
    Value value{};
  };

  size_t Home(int32_t key) const {
    return static_cast<size_t>((static_cast<uint64_t>(static_cast<uint32_t>(key)) * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    size_t capacity = old.empty() ? 64 : old.size() * 2;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    shift_ = 64;
    for (size_t c = capacity; c > 1; c >>= 1) --shift_;
    size_ = 0;
    for (Slot& slot : old)
      if (slot.key != kEmpty) Insert(slot.key, std::move(slot.value));
  }

  std::vector<Slot> slots_;
  size_t size_ = 0;
  size_t mask_ = 0;
  int shift_ = 64;
};

}  // namespace orivane
