#include "Exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

void AfxThrowMemoryException() { throw new CMemoryException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowFileException(int cause, LONG lOsError, const char* fileName)
{
    throw new CFileException(cause, lOsError, fileName);
}
