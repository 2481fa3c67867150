// Text as it comes out in the window. The game's glyphs live in FTGL display lists, and
// Mesa's GL_FEEDBACK crashes replaying those, so these tests look at pixels instead.

#include <FTGL/ftgl.h>

#include <algorithm>
#include <string>

#include "render/font.h"
#include "render/gl.h"
#include "render/text.h"
#include "support/gl_context.h"
#include "support/gl_pixels.h"

using namespace gltest;

namespace {

class TextGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        // Window pixels, on the clear grey of the game.
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Draws `text` with its origin at window pixel (x, y) and reads the window back.
    static Image drawnAt(const std::string& text, bool monospaced, float x, float y)
    {
        glPushMatrix();
        glTranslatef(x, y, 0);
        drawText(text, monospaced);
        glPopMatrix();
        return Image::read(0, 0, windowWidth, windowHeight);
    }

    static PixelBox everywhere(const Image& image, bool (*test)(Rgb))
    {
        return image.where(test, 0, 0, windowWidth - 1, windowHeight - 1);
    }

    // The same font the game loads, measured on its own.
    static std::unique_ptr<FTPolygonFont> referenceFont()
    {
        std::unique_ptr<FTPolygonFont> font = loadPolygonFont();
        font->FaceSize(32, 72);
        return font;
    }
};

void expectWhiteAndWidthTwo(const char* what)
{
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f) << what;
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f) << what;
}

}  // namespace

TEST_F(TextGl, GlyphIsWhiteWithABlackRimAtFaceSize32OnTheBaseline)
{
    const Image image = drawnAt("8", false, 100, 100);
    const PixelBox white = everywhere(image, isWhite);
    const PixelBox rim = everywhere(image, isDark);
    ASSERT_GT(white.count, 50) << "no glyph drawn";

    const FTBBox glyph = referenceFont()->BBox("8");
    EXPECT_NEAR(white.left, 100 + glyph.Lower().X(), 2.0) << white;
    EXPECT_NEAR(white.right, 100 + glyph.Upper().X(), 2.0) << white;
    EXPECT_NEAR(white.bottom, 100 + glyph.Lower().Y(), 2.0) << white;
    EXPECT_NEAR(white.top, 100 + glyph.Upper().Y(), 2.0) << white;

    // The black rim reaches past the white on every side.
    EXPECT_LT(rim.left, white.left) << rim;
    EXPECT_GT(rim.right, white.right) << rim;
    EXPECT_LT(rim.bottom, white.bottom) << rim;
    EXPECT_GT(rim.top, white.top) << rim;
}

TEST_F(TextGl, FixedPitchCellIsTheWidestAdvance)
{
    const std::unique_ptr<FTPolygonFont> font = referenceFont();
    for (const std::string text : {"0:00.000", "20 items left", "W"}) {
        float widest = 0;
        for (size_t i = 0; i < text.size(); ++i)
            widest = std::max(widest, font->Advance(text.c_str() + i, 1));
        EXPECT_FLOAT_EQ(textWidth(text), static_cast<float>(text.size()) * widest) << text;
    }
    EXPECT_EQ(textWidth(""), 0.0f);

    // The second of two equal characters stands exactly one cell to the right.
    const float cell = textWidth("0");
    const Image image = drawnAt("00", true, 100, 100);
    const PixelBox first = image.where(isWhite, 0, 0, 100 + static_cast<int>(cell) - 1, windowHeight - 1);
    const PixelBox second =
        image.where(isWhite, 100 + static_cast<int>(cell), 0, windowWidth - 1, windowHeight - 1);
    ASSERT_GT(first.count, 0);
    EXPECT_NEAR(second.left - first.left, cell, 1.0) << first << " then " << second;
    EXPECT_NEAR(second.right - first.right, cell, 1.0) << first << " then " << second;
}

TEST_F(TextGl, DrawingLeavesWhiteAndLineWidthTwoButEmptyTextChangesNothing)
{
    glColor3f(1, 0, 0);
    glLineWidth(7);
    const Image before = Image::read(0, 0, windowWidth, windowHeight);
    EXPECT_EQ(drawnAt("", false, 100, 100).differingPixels(before), 0);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.0f) << "the colour changed";
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 7.0f);

    drawText("1:23.456", true);
    expectWhiteAndWidthTwo("fixed pitch");
    glColor3f(1, 0, 0);
    glLineWidth(7);
    drawText("3 items left", false);
    expectWhiteAndWidthTwo("proportional");
}
