#include "WinGLibrary.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::string Folder(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return folder;
}

// Wine marks the DOS stub of its own DLLs; with a builtin forced by the DLL
// overrides the module still reports the path of the file it replaced.
bool IsWineBuiltin(HMODULE hModule)
{
    static const char kMark[] = "Wine builtin DLL";
    return std::memcmp(reinterpret_cast<const char*>(hModule) + 0x40, kMark, sizeof kMark - 1) == 0;
}

template <typename T> void Resolve(WinGLibrary& lib, T& fn, const char* name)
{
    fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(lib.hModule, name)));
    if (fn)
        ++lib.nResolved;
}

WinGLibrary Load()
{
    WinGLibrary lib;
    // A missing library must not raise the loader's message box.
    const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    SetLastError(0);
    lib.hModule = LoadLibraryA("WING32.DLL");
    lib.loadError = GetLastError();
    SetErrorMode(previous);
    if (!lib.hModule)
        return lib;

    char path[MAX_PATH] = {};
    GetModuleFileNameA(lib.hModule, path, MAX_PATH);
    lib.path = path;
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    lib.bOurs = Folder(lib.path) == Folder(exe) && !IsWineBuiltin(lib.hModule);

    Resolve(lib, lib.CreateDC, "WinGCreateDC");
    Resolve(lib, lib.CreateBitmap, "WinGCreateBitmap");
    Resolve(lib, lib.GetDIBPointer, "WinGGetDIBPointer");
    Resolve(lib, lib.RecommendDIBFormat, "WinGRecommendDIBFormat");
    Resolve(lib, lib.GetDIBColorTable, "WinGGetDIBColorTable");
    Resolve(lib, lib.SetDIBColorTable, "WinGSetDIBColorTable");
    Resolve(lib, lib.BitBlt, "WinGBitBlt");
    Resolve(lib, lib.StretchBlt, "WinGStretchBlt");
    Resolve(lib, lib.CreateHalftoneBrush, "WinGCreateHalftoneBrush");
    Resolve(lib, lib.CreateHalftonePalette, "WinGCreateHalftonePalette");
    return lib;
}

}   // namespace

const WinGLibrary& TheWinG()
{
    static const WinGLibrary lib = Load();
    return lib;
}

std::string ExpectedWinG()
{
    char value[32] = {};
    const DWORD n = GetEnvironmentVariableA("VELMORA_WING_EXPECT", value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value) : std::string();
}
