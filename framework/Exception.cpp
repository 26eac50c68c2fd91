#include "Exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

namespace {
// Built with the program, so that even the first throw needs no memory; the
// thrown pointer itself fits the runtime's emergency exception buffer.
CMemoryException g_simpleMemoryException(FALSE);
}   // namespace

void AfxThrowMemoryException() { throw &g_simpleMemoryException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowFileException(int cause, LONG lOsError, const char* fileName)
{
    throw new CFileException(cause, lOsError, fileName);
}
