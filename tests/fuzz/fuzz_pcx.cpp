// Fuzz target: a whole PCX file through the same load steps as the frame
// buffer's PCX loader (header, trailing palette, run-length data read into
// a block of its own exact size, decoding).
#include "FuzzLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzload::InputFile file(data, size);
    fuzzload::ExactBlock block;
    imagefmt::LoadPcx(file, block);
    return 0;
}
