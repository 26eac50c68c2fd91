// Memory exhaustion on demand: the test programs that link failing_new.cpp
// replace the global operator new with one that throws std::bad_alloc on
// the thread that asked for it, and allocates normally everywhere else.
#pragma once

class CFailingAllocations {
public:
    CFailingAllocations();    // from now on, allocations on this thread fail
    ~CFailingAllocations();   // and from here on they succeed again
    CFailingAllocations(const CFailingAllocations&) = delete;
    CFailingAllocations& operator=(const CFailingAllocations&) = delete;
};
