#include "support/image.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "support/paths.h"

namespace e2e {

namespace {

Rect clipped(const Image& image, Rect r)
{
    const int x0 = std::clamp(r.x, 0, image.width);
    const int y0 = std::clamp(r.y, 0, image.height);
    const int x1 = std::clamp(r.x + r.width, 0, image.width);
    const int y1 = std::clamp(r.y + r.height, 0, image.height);
    return Rect{x0, y0, x1 - x0, y1 - y0};
}

bool near(Rgb p, Rgb c, int tolerance)
{
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

// --- PNG: stored (uncompressed) deflate blocks in a zlib stream ---

std::uint32_t crc32(const std::uint8_t* data, size_t length, std::uint32_t crc = 0)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& png, const char type[4], const std::vector<std::uint8_t>& data)
{
    put32(png, static_cast<std::uint32_t>(data.size()));
    const size_t typeAt = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32(png, crc32(png.data() + typeAt, data.size() + 4));
}

}  // namespace

Rgb Image::at(int x, int y) const
{
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
}

int countNear(const Image& image, Rect area, Rgb colour, int tolerance)
{
    const Rect r = clipped(image, area);
    int count = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            count += near(image.at(x, y), colour, tolerance) ? 1 : 0;
    return count;
}

int countGrey(const Image& image, Rect area, int lowest, int highest)
{
    const Rect r = clipped(image, area);
    int count = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
            const Rgb p = image.at(x, y);
            const int low = std::min({p.r, p.g, p.b});
            const int high = std::max({p.r, p.g, p.b});
            count += (high - low <= 10 && low >= lowest && high <= highest) ? 1 : 0;
        }
    }
    return count;
}

Rect boundsOf(const Image& image, Rect area, Rgb colour, int tolerance)
{
    const Rect r = clipped(image, area);
    int x0 = r.x + r.width, y0 = r.y + r.height, x1 = r.x - 1, y1 = r.y - 1;
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
            if (!near(image.at(x, y), colour, tolerance))
                continue;
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    }
    if (x1 < x0)
        return Rect{r.x, r.y, 0, 0};
    return Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

double meanBrightness(const Image& image, Rect area)
{
    const Rect r = clipped(image, area);
    if (r.width <= 0 || r.height <= 0)
        return 0.0;
    double sum = 0.0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            const Rgb p = image.at(x, y);
            sum += (p.r + p.g + p.b) / 3.0;
        }
    return sum / (static_cast<double>(r.width) * r.height);
}

double changedShare(const Image& a, const Image& b, Rect area, int threshold)
{
    if (a.width != b.width || a.height != b.height)
        throw std::invalid_argument("changedShare: images differ in size");
    const Rect r = clipped(a, area);
    if (r.width <= 0 || r.height <= 0)
        return 0.0;
    int changed = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            changed += near(a.at(x, y), b.at(x, y), threshold) ? 0 : 1;
    return changed / (static_cast<double>(r.width) * r.height);
}

void writePng(const Image& image, const std::string& path)
{
    // Filter type 0 (none) before every row.
    std::vector<std::uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(image.width) * 3;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(y));
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }

    std::vector<std::uint8_t> zlib{0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        zlib.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00: stored
        zlib.push_back(static_cast<std::uint8_t>(length & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    put32(zlib, adler32(raw));

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(image.width));
    put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", {});

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

void saveScreenshot(const Image& image, const std::string& name)
{
    const std::string dir = screenshotDirectory();
    mkdir(dir.c_str(), 0755);
    try {
        writePng(image, dir + "/" + name);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "screenshot not saved: %s\n", e.what());
    }
}

}  // namespace e2e
