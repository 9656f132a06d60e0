// An allocator for blocks that may be large: pictures and big fonts. Large
// blocks come straight from the host's pages, with a request for huge pages
// where the host has them: touching fresh memory page by page costs more
// than converting the pixels that fill it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "base/platform.h"

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

// A block of bytes of a size fixed when it is made, not cleared, from the
// same source as PageAllocator's.
class ByteBlock {
 public:
  ByteBlock() = default;
  explicit ByteBlock(size_t n) : data_(PageAllocator<uint8_t>().allocate(n)), size_(n) {}
  ~ByteBlock() {
    if (data_) PageAllocator<uint8_t>().deallocate(data_, size_);
  }
  ByteBlock(ByteBlock&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  ByteBlock& operator=(ByteBlock&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};
