#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <filesystem>

namespace bosquell {

// The names an interrupt must remove. A handler that runs while the process ends can reach
// nothing but process-wide state, so each name is copied into a fixed buffer ahead of time and
// only then armed; the handler reads nothing but the armed buffers.
template <std::size_t kPathLength>
class InterruptSlots {
 public:
  using Char = std::filesystem::path::value_type;
  static_assert(std::atomic<bool>::is_always_lock_free, "the handler needs lock-free flags");

  // Arms a free slot with the name; -1 when none is free or the name is too long.
  int Claim(const std::filesystem::path& name) {
    const auto& text = name.native();
    if (text.size() >= kPathLength) return -1;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      Slot& slot = slots_[i];
      bool expected = false;
      if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
      std::memcpy(slot.path, text.c_str(), (text.size() + 1) * sizeof(Char));
      slot.armed.store(true);
      return static_cast<int>(i);
    }
    return -1;
  }

  void Release(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return;
    slots_[static_cast<std::size_t>(slot)].armed.store(false);
    slots_[static_cast<std::size_t>(slot)].claimed.store(false);
  }

  // Calls remove(path) for every armed name; safe inside a signal handler.
  template <typename Remove>
  void ForEachArmed(Remove remove) {
    for (Slot& slot : slots_) {
      if (slot.armed.load()) remove(slot.path);
    }
  }

 private:
  struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> armed{false};
    Char path[kPathLength] = {};
  };
  std::array<Slot, 4> slots_;
};

}  // namespace bosquell
