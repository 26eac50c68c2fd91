#include "tools/assets/WriteFile.h"
#include <cstdio>
#include <fstream>

namespace velmora::assets {

bool WriteAssetFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            out.close();
            if (out)
                return true;
        }
    }
    std::remove(path.c_str());
    std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
    return false;
}

}   // namespace velmora::assets
