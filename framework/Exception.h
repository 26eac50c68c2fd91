// The framework's exception family. Exceptions are thrown by pointer
// (`throw new CResourceException`) and deleted by whoever catches them
// (`catch (CException* e) { ...; e->Delete(); }`). The memory exception is
// the one exception: it cannot be allocated when memory has run out, so one
// preallocated object is thrown, and its Delete() leaves it alone.
#pragma once
#include "Object.h"
#include <string>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // bAutoDelete FALSE: a static object that Delete() must not free.
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    // Frees a caught exception (unless it is a static one).
    void Delete()
    {
        if (m_bAutoDelete)
            delete this;
    }

private:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(fileName ? fileName : "")
    {}
    int m_cause;
    LONG m_lOsError;
    std::string m_strFileName;
};

// Throws the preallocated memory exception: it allocates nothing.
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, const char* fileName = nullptr);
