// Library start and end: the bitmap records live as long as the library.
#include "wing/BitmapRecords.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(hInstance);
        wing::InitBitmapRecords();
        break;
    case DLL_PROCESS_DETACH:
        // At process exit (reserved non-null) the heap goes with the process.
        if (!reserved)
            wing::FreeBitmapRecords();
        break;
    default: break;
    }
    return TRUE;
}
