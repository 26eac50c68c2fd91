// Writes a generated asset to disk for the build.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assets {

// Writes the bytes to path, replacing the file. On failure removes what was
// written, reports on stderr and returns false, so that the build step
// fails instead of leaving a partial asset behind.
bool WriteAssetFile(const std::string& path, const std::vector<uint8_t>& bytes);

}   // namespace velmora::assets
