#pragma once

// Screenshots as plain RGB buffers, the few pixel questions the tests ask, and PNG output.

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int r;
    int g;
    int b;
};

/// A pixel rectangle, origin at the top left of the image, y down.
struct Rect {
    int x;
    int y;
    int width;
    int height;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  ///< row by row from the top, three bytes a pixel

    Rgb at(int x, int y) const;
    Rect whole() const { return Rect{0, 0, width, height}; }
};

inline constexpr Rgb white{255, 255, 255};

/// Pixels in `area` whose every channel is within `tolerance` of `colour`.
int countNear(const Image& image, Rect area, Rgb colour, int tolerance);

/// Pixels in `area` whose channels differ by at most 10 from each other and all lie in
/// [lowest, highest].
int countGrey(const Image& image, Rect area, int lowest, int highest);

/// The smallest rectangle holding every pixel of `area` near `colour`; width 0 when none.
Rect boundsOf(const Image& image, Rect area, Rgb colour, int tolerance);

/// Mean of (r + g + b) / 3 over `area`, 0 to 255.
double meanBrightness(const Image& image, Rect area);

/// Share (0 to 1) of the pixels of `area` where some channel differs by more than
/// `threshold` between the two images (which must be the same size).
double changedShare(const Image& a, const Image& b, Rect area, int threshold = 24);

/// Writes the image as an uncompressed 8-bit RGB PNG.
void writePng(const Image& image, const std::string& path);

/// Saves the image under the screenshot directory as `name` (for example "results.png");
/// a failure to write is reported on stderr but never fails a test.
void saveScreenshot(const Image& image, const std::string& name);

}  // namespace e2e
