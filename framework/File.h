// Binary file access over a Win32 file handle. Failures of open (through
// the throwing constructor), read and seek raise CFileException.
#pragma once
#include "Exception.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens the file or raises CFileException.
    CFile(const char* fileName, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the file; on failure returns FALSE and fills *pError when given.
    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* pError = nullptr);
    // Reads up to count bytes and returns how many were read (0 at the end).
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Moves the file pointer; a position before the start raises CFileException.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetLength() const;
    virtual void Close();
    void Abort();   // closes without raising

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_strFileName;
};
