#include "Profile.h"

bool AfxReadProfileText(const char* pszFile, const char* pszSection, const char* pszKey, char* pszOut, DWORD nSize)
{
    if (nSize < 2)
        return false;
    // The length comes back as nSize - 1 when the text was cut to fit.
    const DWORD nLength = ::GetPrivateProfileStringA(pszSection, pszKey, "", pszOut, nSize, pszFile);
    if (nLength == 0 || nLength >= nSize - 1) {
        pszOut[0] = '\0';
        return false;
    }
    return true;
}
