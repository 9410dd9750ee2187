// SPDX-License-Identifier: MIT
// Growable byte storage whose new room is left as it is rather than zeroed, for buffers that a
// read or an encoder fills right after they grow.
#pragma once

#include <memory>
#include <new>
#include <utility>
#include <vector>

// An allocator whose value-less construct default-initialises: a vector's resize then leaves
// bytes unset instead of writing zeros that are overwritten at once.
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using UninitializedBytes = std::vector<char, DefaultInitAllocator<char>>;
