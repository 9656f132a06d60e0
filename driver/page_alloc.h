// An allocator for blocks that may be large: pictures and big fonts. Large
// blocks come straight from the host's pages, with a request for huge pages
// where the host has them: touching fresh memory page by page costs more
// than converting the pixels that fill it.
#pragma once

#include <cstddef>
#include <new>

#include "driver/platform.h"

// Blocks from this size on are taken from the host's pages.
constexpr size_t kLargeBlock = size_t{1} << 20;

template <class T>
struct PageAllocator {
  using value_type = T;

  PageAllocator() = default;
  template <class U>
  PageAllocator(const PageAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = n * sizeof(T);
    if (bytes < kLargeBlock) return static_cast<T*>(::operator new(bytes));
    void* p = plat_alloc_pages(bytes);
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }

  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes < kLargeBlock) {
      ::operator delete(p);
    } else {
      plat_free_pages(p, bytes);
    }
  }

  template <class U>
  bool operator==(const PageAllocator<U>&) const noexcept {
    return true;
  }
};
