// A bounded single-producer, single-consumer queue: Push and Pop never block, never
// allocate and never wait, so the audio thread may take either end. Several threads may
// share one end when something else orders them (the plug-in lock for producers, say):
// the acquire/release pairs below then still hand each item over whole.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

template <typename T, std::size_t Capacity>
class WaitFreeQueue {
  static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "capacity: a power of two");

 public:
  // False when the queue is full; the item is then not stored.
  bool Push(const T& item) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
    items_[tail & kMask] = item;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

  // False when the queue is empty.
  bool Pop(T& item) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    item = items_[head & kMask];
    head_.store(head + 1, std::memory_order_release);
    return true;
  }

  bool Empty() const {
    return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
  }

 private:
  static constexpr std::size_t kMask = Capacity - 1;

  std::array<T, Capacity> items_{};
  alignas(64) std::atomic<std::size_t> head_{0};  // next item to pop
  alignas(64) std::atomic<std::size_t> tail_{0};  // next free cell
};
