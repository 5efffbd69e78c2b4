#pragma once

#include <cstddef>
#include <vector>

namespace at {

// A queue that takes at the back and drops from the front, indexed from its front, kept in one
// vector: dropping only moves the front, and the dropped room is reclaimed once it is at least
// half the vector, so each element is moved at most once more on average. Cheaper to index than
// a deque, which the standstill search does for every point it measures.
template <typename T>
class SlidingQueue {
  public:
    void pushBack(const T& value) { items_.push_back(value); }
    // Drops the first `count` elements (at most all of them).
    void dropFront(std::size_t count = 1) {
        first_ += count < size() ? count : size();
        if (first_ >= kLeastReclaimed && 2 * first_ >= items_.size()) {
            items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(first_));
            first_ = 0;
        }
    }

    T& operator[](std::size_t i) { return items_[first_ + i]; }
    const T& operator[](std::size_t i) const { return items_[first_ + i]; }
    const T& front() const { return items_[first_]; }
    std::size_t size() const { return items_.size() - first_; }
    bool empty() const { return size() == 0; }

  private:
    static constexpr std::size_t kLeastReclaimed = 64;
    std::vector<T> items_;
    std::size_t first_ = 0;
};

}  // namespace at
