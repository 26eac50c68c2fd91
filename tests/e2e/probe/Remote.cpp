#include "Remote.h"

#include <vector>

RemoteBuffer::RemoteBuffer(HWND target, size_t size) : m_size(size)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process != nullptr) {
        m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    Clear();
}

RemoteBuffer::~RemoteBuffer()
{
    if (m_address != nullptr) {
        VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    if (m_process != nullptr) {
        CloseHandle(m_process);
    }
}

bool RemoteBuffer::Read(void* dest, size_t size) const
{
    SIZE_T got = 0;
    return m_address != nullptr && size <= m_size && ReadProcessMemory(m_process, m_address, dest, size, &got) &&
           got == size;
}

bool RemoteBuffer::Clear()
{
    if (m_address == nullptr) {
        return false;
    }
    std::vector<char> zeros(m_size, 0);
    SIZE_T put = 0;
    return WriteProcessMemory(m_process, m_address, zeros.data(), m_size, &put) && put == m_size;
}
