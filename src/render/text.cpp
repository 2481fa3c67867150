#include "render/text.h"

#include <FTGL/ftgl.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "render/font.h"
#include "render/gl.h"
#include "render/text_layout.h"

namespace {

// The program-wide font cache, by face size. Fonts are never released: their glyphs are GL
// display lists, and at exit the context is already gone.
template <class Font> using FontCache = std::map<int, std::unique_ptr<Font>>;
FontCache<FTPolygonFont>& polygonFonts = *new FontCache<FTPolygonFont>;
FontCache<FTOutlineFont>& outlineFonts = *new FontCache<FTOutlineFont>;

std::vector<float> characterAdvances(FTFont& font, const std::string& text)
{
    std::vector<float> advances;
    advances.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        advances.push_back(font.Advance(text.c_str() + i, 1, FTPoint(0, 0, 0)));
    return advances;
}

// Black rim, inner rim and fill in `colour`, of `length` bytes from `text` (-1: all of it) at pen x.
void renderRimmed(FTFont& outline, FTFont& fill, const char* text, int length, float x, float scale,
                  TextColour colour)
{
    const FTPoint at(x, 0, 0);
    const FTPoint noSpacing(0, 0, 0);
    glLineWidth(4.0f * scale);
    glColor3f(0.0f, 0.0f, 0.0f);
    outline.Render(text, length, at, noSpacing, FTGL::RENDER_ALL);
    glLineWidth(2.0f * scale);
    glColor3f(colour.red, colour.green, colour.blue);
    outline.Render(text, length, at, noSpacing, FTGL::RENDER_ALL);
    fill.Render(text, length, at, noSpacing, FTGL::RENDER_ALL);
}

}  // namespace

void ensureFonts(int size)
{
    if (polygonFonts.find(size) == polygonFonts.end()) {
        std::unique_ptr<FTPolygonFont> font = loadPolygonFont();
        font->FaceSize(static_cast<unsigned>(size), 72);
        polygonFonts.emplace(size, std::move(font));
    }
    if (outlineFonts.find(size) == outlineFonts.end()) {
        std::unique_ptr<FTOutlineFont> font = loadOutlineFont();
        font->FaceSize(static_cast<unsigned>(size), 72);
        outlineFonts.emplace(size, std::move(font));
    }
}

int scaledFaceSize(float scale)
{
    const long size = std::lround(static_cast<double>(textFaceSize) * static_cast<double>(scale));
    return size < 1 ? 1 : static_cast<int>(size);
}

void drawText(const std::string& text, bool monospaced, float scale, TextColour colour)
{
    if (text.empty())
        return;
    const int size = scaledFaceSize(scale);
    ensureFonts(size);
    FTPolygonFont& fill = *polygonFonts[size];
    FTOutlineFont& outline = *outlineFonts[size];

    if (!monospaced) {
        // Each pass covers the whole string before the next starts.
        renderRimmed(outline, fill, text.c_str(), -1, 0.0f, scale, colour);
        return;
    }

    const FixedPitchLayout layout = layoutFixedPitch(characterAdvances(fill, text));
    for (size_t i = 0; i < text.size(); ++i)
        renderRimmed(outline, fill, text.c_str() + i, 1, layout.x[i], scale, colour);
}

float textWidth(const std::string& text, float scale)
{
    if (text.empty())
        return 0.0f;
    const int size = scaledFaceSize(scale);
    ensureFonts(size);
    return fixedPitchWidth(characterAdvances(*polygonFonts[size], text));
}

float proportionalTextWidth(const std::string& text, float scale)
{
    if (text.empty())
        return 0.0f;
    const int size = scaledFaceSize(scale);
    ensureFonts(size);
    return polygonFonts[size]->Advance(text.c_str(), -1, FTPoint(0, 0, 0));
}

void prepareText(const std::string& characters, float scale)
{
    const int size = scaledFaceSize(scale);
    ensureFonts(size);
    characterAdvances(*polygonFonts[size], characters);
    characterAdvances(*outlineFonts[size], characters);
}
