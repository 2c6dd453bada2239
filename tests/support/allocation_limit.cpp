#include "support/allocation_limit.h"

#include <cstdlib>
#include <new>

namespace {

thread_local std::size_t t_limit = 0;  // 0: no limit

void* Allocate(std::size_t size) noexcept
{
    if (t_limit != 0 && size >= t_limit)
        return nullptr;
    return std::malloc(size ? size : 1);
}

} // namespace

namespace test {

AllocationLimit::AllocationLimit(std::size_t bytes) : m_previous(t_limit) { t_limit = bytes; }
AllocationLimit::~AllocationLimit() { t_limit = m_previous; }

} // namespace test

// Every plain form goes through Allocate and std::free, so the sanitizers still see matching
// pairs; the aligned forms are left to the library.
void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
