// A fixed-capacity text that one thread may write while another reads it, without locks
// and without allocation: a sequence counter guards bytes held in atomics, so a reader
// either gets a whole text or tries again, and never sees a torn or freed string. The
// ordering rests on acquire/release pairs alone (no standalone fences), so that thread
// sanitizers, which do not model fences, see it: a reader that loads any byte of a write
// in progress synchronises with that write's opening of the counter and so sees it odd.
// Used for control texts the audio thread writes (the tuner) and the interface thread draws.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

template <std::size_t Capacity>
class AtomicText {
 public:
  static constexpr std::size_t kCapacity = Capacity;  // bytes, terminator excluded

  // Stores text cut to the capacity at a character boundary; false when it was equal
  // already. Writers exclude each other; no allocation, no waiting while writers are
  // serialised (as they are under the plug-in lock).
  bool Store(std::string_view text) {
    text = CutToCapacity(text);
    std::uint32_t seq = BeginWrite();
    const bool changed = !EqualsWhileWriting(text);
    if (changed) {
      for (std::size_t i = 0; i < text.size(); ++i)
        bytes_[i].store(text[i], std::memory_order_release);
      length_.store(static_cast<std::uint32_t>(text.size()), std::memory_order_release);
    }
    sequence_.store(seq + 2, std::memory_order_release);
    return changed;
  }

  // Copies the text into out (kCapacity + 1 bytes, terminated). False when writers kept
  // it changing for every attempt; out is then left as it was.
  bool Load(char* out) const {
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      const std::uint32_t before = sequence_.load(std::memory_order_acquire);
      if (before & 1u) continue;
      const std::size_t length =
          std::min<std::size_t>(length_.load(std::memory_order_acquire), Capacity);
      std::array<char, Capacity + 1> copy;
      for (std::size_t i = 0; i < length; ++i) copy[i] = bytes_[i].load(std::memory_order_acquire);
      if (sequence_.load(std::memory_order_relaxed) != before) continue;
      for (std::size_t i = 0; i < length; ++i) out[i] = copy[i];
      out[length] = '\0';
      return true;
    }
    return false;
  }

  // Text with no more than kCapacity bytes, cut before any UTF-8 sequence that would not
  // fit whole.
  static std::string_view CutToCapacity(std::string_view text) {
    if (text.size() <= Capacity) return text;
    std::size_t end = Capacity;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) --end;
    return text.substr(0, end);
  }

 private:
  std::uint32_t BeginWrite() {
    std::uint32_t seq = sequence_.load(std::memory_order_relaxed);
    for (;;) {
      if (!(seq & 1u) &&
          sequence_.compare_exchange_weak(seq, seq + 1, std::memory_order_acquire,
                                          std::memory_order_relaxed))
        break;
      seq = sequence_.load(std::memory_order_relaxed);
    }
    return seq;
  }

  bool EqualsWhileWriting(std::string_view text) const {
    if (length_.load(std::memory_order_relaxed) != text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
      if (bytes_[i].load(std::memory_order_relaxed) != text[i]) return false;
    return true;
  }

  std::atomic<std::uint32_t> sequence_{0};  // odd while a write is under way
  std::atomic<std::uint32_t> length_{0};
  std::array<std::atomic<char>, Capacity> bytes_{};
};
