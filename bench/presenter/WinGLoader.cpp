#include "WinGLoader.h"

namespace {

// void (*)() converts to and from every function pointer type without a
// cast-function-type warning.
template <typename Slot> bool Resolve(HMODULE module, const char* name, Slot& slot)
{
    FARPROC proc = GetProcAddress(module, name);
    slot = reinterpret_cast<Slot>(reinterpret_cast<void (*)()>(proc));
    return proc != nullptr;
}

}   // namespace

bool WinGLibrary::Load()
{
    // A missing library must not make the loader show a message box.
    const UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    module = LoadLibraryA("WING32.DLL");
    SetErrorMode(previousMode);
    if (module == nullptr)
        return false;
    if (Resolve(module, "WinGCreateDC", CreateDC) && Resolve(module, "WinGRecommendDIBFormat", RecommendDIBFormat) &&
        Resolve(module, "WinGCreateBitmap", CreateBitmap) && Resolve(module, "WinGBitBlt", BitBlt) &&
        Resolve(module, "WinGStretchBlt", StretchBlt))
        return true;
    FreeLibrary(module);
    module = nullptr;
    return false;
}

std::string WinGLibrary::Path() const
{
    char path[MAX_PATH] = {};
    if (module == nullptr || GetModuleFileNameA(module, path, MAX_PATH) == 0)
        return std::string();
    return path;
}
