// Reading one value of a private settings file as text.
#pragma once
#include <windows.h>

// Reads the key into pszOut (nSize bytes). False, with pszOut empty, when
// the key is absent or its text does not fit: a value cut off at the end of
// the buffer could read as another, valid value, so it counts as unreadable.
bool AfxReadProfileText(const char* pszFile, const char* pszSection, const char* pszKey, char* pszOut, DWORD nSize);
