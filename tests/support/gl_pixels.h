#pragma once

// The colour buffer read back after drawing, for tests that judge what a player would see.

#include <climits>
#include <functional>
#include <iosfwd>
#include <vector>

namespace gltest {

/// One pixel, 0..255 per channel.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

/// The smallest window rectangle holding every pixel that passed a test, bounds inclusive.
struct PixelBox {
    int left = INT_MAX;
    int bottom = INT_MAX;
    int right = INT_MIN;
    int top = INT_MIN;
    int count = 0;  ///< how many pixels passed
};

/// A rectangle of the back buffer (where the drawing went), addressed in window
/// coordinates: x from the left, y from the bottom.
class Image {
public:
    static Image read(int x, int y, int width, int height);

    Rgb at(int x, int y) const;
    /// Where the pixels for which `test` holds lie, within x0..x1, y0..y1 (inclusive).
    PixelBox where(const std::function<bool(Rgb)>& test, int x0, int y0, int x1, int y1) const;

    /// How many pixels differ from `other`, an image of the same rectangle.
    int differingPixels(const Image& other) const;

private:
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<unsigned char> m_rgb;
};

/// The text's fill and the (antialiased) rim around it, told apart from the clear grey (128).
inline bool isWhite(Rgb p) { return p.r > 225 && p.g > 225 && p.b > 225; }
inline bool isDark(Rgb p) { return p.r < 96 && p.g < 96 && p.b < 96; }

// For gtest's messages.
std::ostream& operator<<(std::ostream& out, const Rgb& p);
std::ostream& operator<<(std::ostream& out, const PixelBox& box);

}  // namespace gltest
