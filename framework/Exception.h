// The framework's exception family. Exceptions are thrown by pointer
// (`throw new CMemoryException`) and deleted by whoever catches them
// (`catch (CException* e) { ...; e->Delete(); }`).
#pragma once
#include "Object.h"
#include <string>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;
    // Frees a caught exception.
    void Delete() { delete this; }
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
};

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles,
        accessDenied, invalidFile, removeCurrentDir, directoryFull,
        badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(fileName ? fileName : "") {}
    int m_cause;
    LONG m_lOsError;
    std::string m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, const char* fileName = nullptr);
