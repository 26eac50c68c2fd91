// The file and the buffer of a fuzzed load, both on the heap at exactly
// the size each step asks for, so that the sanitizer reports any read or
// write past them: the input is the file, every read copies the asked-for
// bytes out of it, and the pixel block is exactly what the image needs.
#pragma once
#include "surface/ImageFormats.h"
#include <cstring>
#include <memory>

namespace fuzzload {

class InputFile final : public imagefmt::FileSource {
public:
    InputFile(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Length(uint64_t* length) override
    {
        *length = m_size;
        return true;
    }

    bool ReadAt(uint64_t offset, void* out, uint32_t count) override
    {
        if (offset > m_size || count > m_size - offset)
            return false;
        std::memcpy(out, m_data + offset, count);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

class ExactBlock final : public imagefmt::ImageSink {
public:
    bool Size(int32_t width, int32_t height) override
    {
        m_width = width;
        m_height = height;
        return true;
    }

    void Colors(const uint8_t* bgr0) override { std::memcpy(m_colors, bgr0, sizeof m_colors); }

    uint8_t* Pixels() override
    {
        m_block.reset(new uint8_t[size_t(imagefmt::RowPitch(m_width)) * size_t(m_height)]);
        return m_block.get();
    }

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint8_t m_colors[imagefmt::kBmpColorTableSize] = {};
    std::unique_ptr<uint8_t[]> m_block;
};

}   // namespace fuzzload
