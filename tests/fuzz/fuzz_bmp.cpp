// Fuzz target: a whole bitmap file through the same load steps as the
// frame buffer's bitmap loader (header, colour table, pixel rows).
#include "FuzzLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzload::InputFile file(data, size);
    fuzzload::ExactBlock block;
    imagefmt::LoadBmp(file, block);
    return 0;
}
