#include "tools/assets/PixelArt.h"
#include <fstream>
#include <sstream>

namespace velmora::assets {

const std::vector<RgbQuad>& StandardPalette16()
{
    static const std::vector<RgbQuad> palette = {
        {0, 0, 0, 0},     {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},   {128, 0, 0, 0}, {128, 0, 128, 0},
        {128, 128, 0, 0}, {192, 192, 192, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0}, {0, 255, 255, 0},
        {255, 0, 0, 0},   {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
    };
    return palette;
}

int32_t LegendIndex(char c)
{
    static constexpr std::string_view legend = "#rgybmc-:RGYBMCW";
    if (c == '.')
        return kBackground;
    const size_t pos = legend.find(c);
    return pos == std::string_view::npos ? -1 : int32_t(pos);
}

bool ParsePixelArt(std::string_view text, int32_t width, int32_t height, PixelArt& out, std::string& error)
{
    PixelArt art;
    art.width = width;
    art.height = height;
    art.pixels.reserve(size_t(width) * uint32_t(height));
    int32_t lineNo = 0;
    int32_t rows = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';')
            continue;
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (rows == height) {
            error = where + "more than " + std::to_string(height) + " pixel rows";
            return false;
        }
        if (line.size() != size_t(width)) {
            error = where + "expected " + std::to_string(width) + " pixels, found " + std::to_string(line.size());
            return false;
        }
        for (size_t x = 0; x < line.size(); ++x) {
            const int32_t index = LegendIndex(line[x]);
            if (index < 0) {
                error = where + "column " + std::to_string(x + 1) + ": '" + std::string(1, line[x]) +
                        "' is not a colour of the legend";
                return false;
            }
            art.pixels.push_back(uint8_t(index));
        }
        ++rows;
    }
    if (rows != height) {
        error = "expected " + std::to_string(height) + " pixel rows, found " + std::to_string(rows);
        return false;
    }
    out = std::move(art);
    return true;
}

bool ReadPixelArtFile(const std::string& path, int32_t width, int32_t height, PixelArt& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!ParsePixelArt(text.str(), width, height, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}   // namespace velmora::assets
