#pragma once
// Replaces the global allocator of a test program and counts the allocations
// a thread makes while it has counting switched on. Include from exactly one
// source file of the program (the replacements are its definitions).
#include <cstdlib>
#include <new>

namespace testkit
{
inline thread_local bool tCounting = false;
inline thread_local int tAllocations = 0;

inline void* CountedAlloc(std::size_t size)
{
  if (tCounting) ++tAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
} // namespace testkit

void* operator new(std::size_t size) { return testkit::CountedAlloc(size); }
void* operator new[](std::size_t size) { return testkit::CountedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
