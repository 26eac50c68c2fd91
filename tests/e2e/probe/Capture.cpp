#include "Capture.h"

#include <cstdio>

namespace {

// A top-down 32-bit DIB section selected into a memory DC for the lifetime of
// the object.
class Canvas {
public:
    Canvas(int32_t width, int32_t height) : m_width(width), m_height(height)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        if (m_dc != nullptr && m_bitmap != nullptr) {
            m_old = SelectObject(m_dc, m_bitmap);
        }
    }
    ~Canvas()
    {
        if (m_old != nullptr) {
            SelectObject(m_dc, m_old);
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
        }
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool IsValid() const { return m_old != nullptr && m_bits != nullptr; }
    HDC Dc() const { return m_dc; }

    Image ToImage() const
    {
        Image image;
        image.width = m_width;
        image.height = m_height;
        GdiFlush();
        const auto* src = static_cast<const uint32_t*>(m_bits);
        image.pixels.assign(src, src + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
        for (uint32_t& p : image.pixels) {
            p &= 0x00FFFFFFu;
        }
        return image;
    }

private:
    int32_t m_width;
    int32_t m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

void PutLe(std::FILE* f, uint32_t value, int32_t bytes)
{
    for (int32_t i = 0; i < bytes; ++i) {
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xFFu), f);
    }
}

}   // namespace

Image RenderIcon(HICON icon, int32_t width, int32_t height, uint32_t background)
{
    Canvas canvas(width, height);
    if (!canvas.IsValid()) {
        return {};
    }
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    return canvas.ToImage();
}

bool SaveBmp(const char* path, const Image& image)
{
    if (image.width <= 0 || image.height <= 0) {
        return false;
    }
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    uint32_t stride = (static_cast<uint32_t>(image.width) * 3u + 3u) & ~3u;
    uint32_t dataSize = stride * static_cast<uint32_t>(image.height);
    std::fputc('B', f);
    std::fputc('M', f);
    PutLe(f, 54u + dataSize, 4);
    PutLe(f, 0, 4);
    PutLe(f, 54, 4);
    PutLe(f, 40, 4);
    PutLe(f, static_cast<uint32_t>(image.width), 4);
    PutLe(f, static_cast<uint32_t>(image.height), 4);   // bottom-up rows
    PutLe(f, 1, 2);
    PutLe(f, 24, 2);
    PutLe(f, 0, 4);
    PutLe(f, dataSize, 4);
    PutLe(f, 2835, 4);
    PutLe(f, 2835, 4);
    PutLe(f, 0, 4);
    PutLe(f, 0, 4);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        uint32_t written = 0;
        for (int32_t x = 0; x < image.width; ++x) {
            uint32_t p = image.At(x, y);
            std::fputc(static_cast<int>(p & 0xFF), f);
            std::fputc(static_cast<int>((p >> 8) & 0xFF), f);
            std::fputc(static_cast<int>((p >> 16) & 0xFF), f);
            written += 3;
        }
        for (; written < stride; ++written) {
            std::fputc(0, f);
        }
    }
    bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}
