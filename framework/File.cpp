#include "File.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

int CauseFromOsError(DWORD err)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND: return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return CFileException::badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return CFileException::tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return CFileException::accessDenied;
    case ERROR_SHARING_VIOLATION: return CFileException::sharingViolation;
    case ERROR_LOCK_VIOLATION: return CFileException::lockViolation;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK: return CFileException::badSeek;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return CFileException::diskFull;
    case ERROR_HANDLE_EOF: return CFileException::endOfFile;
    default: return CFileException::genericException;
    }
}

[[noreturn]] void ThrowLastError(const std::string& name)
{
    DWORD err = GetLastError();
    AfxThrowFileException(CauseFromOsError(err), LONG(err), name.c_str());
}

}   // namespace

CFile::CFile(const char* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw new CFileException(error);
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* pError)
{
    Abort();
    DWORD access = GENERIC_READ;
    if ((openFlags & 3) == modeWrite)
        access = GENERIC_WRITE;
    else if ((openFlags & 3) == modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD create = (openFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileA(fileName, access, FILE_SHARE_READ | ((openFlags & shareDenyNone) ? FILE_SHARE_WRITE : 0),
                           nullptr, create, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (pError) {
            DWORD err = GetLastError();
            pError->m_cause = CauseFromOsError(err);
            pError->m_lOsError = LONG(err);
            pError->m_strFileName = fileName ? fileName : "";
        }
        return FALSE;
    }
    m_hFile = h;
    m_strFileName = fileName;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr))
        ThrowLastError(m_strFileName);
    return UINT(got);
}

void CFile::Write(const void* buffer, UINT count)
{
    DWORD put = 0;
    if (!WriteFile(m_hFile, buffer, count, &put, nullptr))
        ThrowLastError(m_strFileName);
    if (put != count)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName.c_str());
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = offset;
    DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(m_hFile, dist, &pos, method))
        ThrowLastError(m_strFileName);
    return ULONGLONG(pos.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        ThrowLastError(m_strFileName);
    return ULONGLONG(size.QuadPart);
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        BOOL ok = CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        if (!ok)
            ThrowLastError(m_strFileName);
    }
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}
