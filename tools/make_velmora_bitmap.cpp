// velmora_make_bitmap OUT.bmp
// Writes the "VELMORA" bitmap: 320 × 200, 8 bits, all pixels 0, with the
// program's 256-entry colour table.
#include "tools/assets/VelmoraBitmap.h"
#include "tools/assets/WriteFile.h"
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.bmp\n", argv[0]);
        return 2;
    }
    return velmora::assets::WriteAssetFile(argv[1], velmora::assets::MakeVelmoraBitmap()) ? 0 : 1;
}
