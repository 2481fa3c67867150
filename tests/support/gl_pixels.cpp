#include "support/gl_pixels.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "render/gl.h"

namespace gltest {

Image Image::read(int x, int y, int width, int height)
{
    Image image;
    image.m_x = x;
    image.m_y = y;
    image.m_width = width;
    image.m_height = height;
    image.m_rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.m_rgb.data());
    return image;
}

Rgb Image::at(int x, int y) const
{
    if (x < m_x || y < m_y || x >= m_x + m_width || y >= m_y + m_height)
        throw std::out_of_range("pixel outside the image read back");
    const size_t i =
        (static_cast<size_t>(y - m_y) * static_cast<size_t>(m_width) + static_cast<size_t>(x - m_x)) * 3;
    return Rgb{m_rgb[i], m_rgb[i + 1], m_rgb[i + 2]};
}

PixelBox Image::where(const std::function<bool(Rgb)>& test, int x0, int y0, int x1, int y1) const
{
    PixelBox box;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (test(at(x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.bottom = std::min(box.bottom, y);
                box.top = std::max(box.top, y);
                ++box.count;
            }
    return box;
}

int Image::differingPixels(const Image& other) const
{
    if (other.m_x != m_x || other.m_y != m_y || other.m_width != m_width || other.m_height != m_height)
        throw std::invalid_argument("images of different rectangles");
    int count = 0;
    for (size_t i = 0; i < m_rgb.size(); i += 3)
        count += !std::equal(&m_rgb[i], &m_rgb[i] + 3, &other.m_rgb[i]);
    return count;
}

std::ostream& operator<<(std::ostream& out, const Rgb& p)
{
    return out << "rgb(" << p.r << ", " << p.g << ", " << p.b << ")";
}

std::ostream& operator<<(std::ostream& out, const PixelBox& box)
{
    if (box.count == 0)
        return out << "no pixel";
    return out << box.count << " pixels in x " << box.left << ".." << box.right << ", y " << box.bottom
               << ".." << box.top;
}

}  // namespace gltest
