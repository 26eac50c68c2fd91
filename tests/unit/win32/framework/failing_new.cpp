#include "failing_new.h"
#include <windows.h>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// The thread whose allocations fail; 0 (never a thread id) for none.
std::atomic<DWORD> g_dwFailingThread{0};

}   // namespace

CFailingAllocations::CFailingAllocations() { g_dwFailingThread = ::GetCurrentThreadId(); }

CFailingAllocations::~CFailingAllocations() { g_dwFailingThread = 0; }

void* operator new(std::size_t nSize)
{
    if (g_dwFailingThread.load() == ::GetCurrentThreadId())
        throw std::bad_alloc();
    if (void* p = std::malloc(nSize ? nSize : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }

void operator delete(void* p, std::size_t) noexcept { std::free(p); }
