// Makes memory run out on purpose: while an AllocationLimit lives, every operator new on
// its thread asking for at least `bytes` throws std::bad_alloc. The program's operator new
// is replaced for that (allocation_limit.cpp), so link this only into tests that use it.
#pragma once

#include <cstddef>

namespace test {

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    std::size_t m_previous;
};

} // namespace test
