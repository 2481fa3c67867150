// One whole frame as the player sees it, and the GL error check every stage relies on.

#include <FTGL/ftgl.h>

#include <cmath>
#include <stdexcept>

#include "main/screen_layout.h"
#include "main/screens.h"
#include "main/shell.h"
#include "render/camera.h"
#include "render/gl.h"
#include "render/text.h"
#include "support/gl_context.h"
#include "support/gl_pixels.h"
#include "world/counter_layout.h"
#include "world/world.h"

using namespace gltest;

namespace {

class FrameGl : public GlTest {
protected:
    LevelDesc desc = builtinLevel();
    World world{desc};
    TopDownCamera overhead{world.cart().body()};

    // Where a world point lands in the window through the overhead camera: it hovers 20 above
    // its floor point looking straight down, world +x up the screen and +y to the left, under
    // a 60 degree vertical field of view.
    static void pixelOf(const b2Vec2& floorPoint, b2Vec3 p, int& x, int& y)
    {
        const double focal = 1.0 / std::tan(30.0 * b2_pi / 180.0);
        const double aspect = static_cast<double>(windowWidth) / windowHeight;
        const double depth = 20.0 - p.z;
        const double right = -(p.y - floorPoint.y);
        const double up = p.x - floorPoint.x;
        x = static_cast<int>((focal / aspect * right / depth + 1.0) * 0.5 * windowWidth);
        y = static_cast<int>((focal * up / depth + 1.0) * 0.5 * windowHeight);
    }

    Rgb seen(const Image& frame, b2Vec3 p) const
    {
        int x = 0;
        int y = 0;
        pixelOf(overhead.position(), p, x, y);
        return frame.at(x, y);
    }
};

bool isClearGrey(Rgb p)
{
    return std::abs(p.r - 128) <= 2 && std::abs(p.g - 128) <= 2 && std::abs(p.b - 128) <= 2;
}
bool isPaleGrey(Rgb p) { return p.r > 180 && std::abs(p.r - p.g) <= 3 && std::abs(p.r - p.b) <= 3; }

}  // namespace

TEST_F(FrameGl, OverheadFrameShowsFloorTilesShelvesItemsAndCounters)
{
    ASSERT_EQ(windowSize.width, windowWidth);
    ASSERT_EQ(windowSize.height, windowHeight);
    ASSERT_EQ(cellAt(desc, 24, 5), ' ');
    ASSERT_EQ(cellAt(desc, 28, 5), 'x');
    ASSERT_EQ(cellAt(desc, 25, 7), 'o');

    ASSERT_NO_THROW(renderFrame(world, overhead));
    const Image frame = Image::read(0, 0, windowWidth, windowHeight);

    // Beyond the floor's far edge (x = 34) the clear colour shows; the margin is floor.
    EXPECT_PRED1(isClearGrey, seen(frame, b2Vec3(36, 3, 0)));
    const Rgb margin = seen(frame, b2Vec3(33.6f, 3, 0));
    EXPECT_PRED1(isPaleGrey, margin);
    const Rgb tile = seen(frame, b2Vec3(24.5f, 5.5f, 0));
    EXPECT_PRED1(isPaleGrey, tile);
    EXPECT_GT(tile.r, margin.r + 10) << "tiles are lighter than the floor between them";

    const Rgb shelf = seen(frame, b2Vec3(28.5f, 5.5f, 3));
    EXPECT_GT(shelf.b, shelf.g + 20) << "shelf top " << shelf;
    EXPECT_GT(shelf.g, shelf.r + 20) << "shelf top " << shelf;

    const Rgb item = seen(frame, b2Vec3(25.5f, 7.5f, 0.7f));
    EXPECT_GT(item.b, item.r + 40) << "item " << item;
    EXPECT_LE(std::abs(item.r - item.g), 3) << "item " << item;

    // The counters along the top, white with a black rim: "20 items left" from a third of an
    // em in from the left, the clock ending as far in from the right.
    const int bandBottom = 540;
    const PixelBox itemsInk = frame.where(isDark, 0, bandBottom, 399, windowHeight - 1);
    const PixelBox clockInk = frame.where(isDark, 400, bandBottom, windowWidth - 1, windowHeight - 1);
    EXPECT_GT(frame.where(isWhite, 0, bandBottom, 399, windowHeight - 1).count, 100);
    EXPECT_GT(frame.where(isWhite, 400, bandBottom, windowWidth - 1, windowHeight - 1).count, 100);
    EXPECT_GE(itemsInk.left, 8) << itemsInk;
    EXPECT_LE(itemsInk.left, 14) << itemsInk;
    EXPECT_GE(clockInk.right, 784) << clockInk;
    EXPECT_LE(clockInk.right, 791) << clockInk;
    for (const PixelBox& ink : {itemsInk, clockInk}) {
        EXPECT_GE(ink.bottom, 557) << "baseline at 561.6: " << ink;
        EXPECT_LE(ink.bottom, 562) << "baseline at 561.6: " << ink;
        EXPECT_LE(ink.top, 595) << ink;
    }
}

TEST_F(FrameGl, PhysicsOverlayLiesOnTheFloorOverTheScene)
{
    debugOverlay = true;
    ASSERT_NO_THROW(renderFrame(world, overhead));
    const Image frame = Image::read(0, 0, windowWidth, windowHeight);
    // A shelf's footprint, below its top: the static body's green fill covers it.
    const Rgb footprint = seen(frame, b2Vec3(28.5f, 5.5f, 0));
    EXPECT_GT(footprint.g, footprint.r + 60) << footprint;
    EXPECT_GT(footprint.g, footprint.b + 60) << footprint;
}

TEST_F(FrameGl, AfterTheCountdownsPreparationNoFrameBuildsGlyphs)
{
    // Glyphs are display lists made on first use. The countdown makes all that its words and the
    // counters will ever need before its clock starts, so no frame of the game pays for them.
    CameraTable cameras{&overhead, &overhead};
    cameraTable = &cameras;
    ScreenFonts fonts = loadScreenFonts(countdownFaceSize(windowHeight));
    ASSERT_NO_THROW(prepareCountdown(world, fonts));
    const GLuint before = glGenLists(1);
    for (int n = 3; n >= 0; --n) {
        renderFrame(world, overhead);
        drawCountdownWord(fonts, countdownText(n), 0.85f);
    }
    drawText(counterCharacters, false);
    drawText(counterCharacters, true);
    const GLuint after = glGenLists(1);
    EXPECT_EQ(after, before + 1) << "the frames built " << after - before - 1 << " display lists";
    glDeleteLists(before, 1);
    glDeleteLists(after, 1);
    cameraTable = nullptr;
}

TEST_F(FrameGl, LeavesTheWindowPixelProjection)
{
    windowSize = WindowSize{640, 360};
    ASSERT_NO_THROW(renderFrame(world, overhead));
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 360);
    for (const b2Vec2 corner : {b2Vec2(0, 0), b2Vec2(640, 360), b2Vec2(12.5f, 300)}) {
        GLdouble x = 0, y = 0, z = 0;
        gluProject(corner.x, corner.y, 0, modelview, projection, viewport, &x, &y, &z);
        EXPECT_NEAR(x, corner.x, 1e-3);
        EXPECT_NEAR(y, corner.y, 1e-3);
    }
}

TEST_F(FrameGl, GlErrorCheckNamesTheCheckAndTheError)
{
    EXPECT_NO_THROW(checkGlError("world/world_draw.cpp", 42));

    glEnable(0xFFFF);
    try {
        checkGlError("world/world_draw.cpp", 42);
        ADD_FAILURE() << "no exception for a pending GL_INVALID_ENUM";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "GL error: world/world_draw.cpp:42: invalid enumerant");
    }
    // The error was read: the next check passes.
    EXPECT_NO_THROW(checkGlError("main/frame.cpp", 7));

    glEnd();  // outside glBegin
    try {
        checkGlError("cart/cart_draw.cpp", 1234);
        ADD_FAILURE() << "no exception for a pending GL_INVALID_OPERATION";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "GL error: cart/cart_draw.cpp:1234: invalid operation");
    }
}
