// Appends little-endian integers to a byte vector: the byte order of every
// Windows file format the generators write.
#pragma once
#include <cstdint>
#include <vector>

namespace velmora::assets {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void U8(uint8_t v) { m_out.push_back(v); }
    void U16(uint16_t v)
    {
        m_out.push_back(uint8_t(v));
        m_out.push_back(uint8_t(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void I32(int32_t v) { U32(uint32_t(v)); }
    void Bytes(const std::vector<uint8_t>& bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }

private:
    std::vector<uint8_t>& m_out;
};

}   // namespace velmora::assets
