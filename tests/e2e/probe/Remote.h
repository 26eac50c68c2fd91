// Memory inside another process, for the common-control messages whose
// pointer arguments Wine does not carry across processes (status-bar texts,
// toolbar buttons and rectangles): the probe allocates a buffer in the target,
// sends the message with the buffer's address and reads the answer back.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
public:
    RemoteBuffer(HWND target, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool IsValid() const { return m_address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_address); }
    bool Read(void* dest, size_t size) const;
    bool Clear();

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size = 0;
};
