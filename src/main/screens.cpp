#include "main/screens.h"

#include <FTGL/ftgl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <memory>
#include <string>

#include "main/screen_layout.h"
#include "main/shell.h"
#include "render/camera.h"
#include "render/font.h"
#include "render/gl.h"
#include "render/text.h"
#include "sound/sound_system.h"
#include "world/counter_layout.h"
#include "world/world.h"

namespace {

constexpr double phaseLength = 1.0;  // seconds per countdown word

// A 2D pixel projection over the whole window, unlit and without depth.
void pixelProjection(int width, int height)
{
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// One results line: outline, then fill, centred `sixths` sixths up the window.
void drawResultsLine(FTFont& outline, FTFont& fill, const std::string& text, int sixths)
{
    const TextOrigin at =
        resultsLineOrigin(windowSize.width, windowSize.height, sixths, static_cast<float>(fill.FaceSize()),
                          fill.Advance(text.c_str(), -1, FTPoint()));
    glPushMatrix();
    {
        glTranslatef(at.x, at.y, 0.0f);
        outline.Render(text.c_str(), -1, FTPoint(), FTPoint(), FTGL::RENDER_ALL);
        fill.Render(text.c_str(), -1, FTPoint(), FTPoint(), FTGL::RENDER_ALL);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);
}

// Whether the player leaves the results screen: Enter down (but not as part of Alt+Enter, which
// switches fullscreen), or Enter, A or Start pressed since the screen began however briefly. A pad
// button held as the screen opens does not count: the time would go unseen.
bool resultsLeft()
{
    const bool alt = glfwGetKey(gameWindow, GLFW_KEY_LEFT_ALT) == GLFW_PRESS ||
                     glfwGetKey(gameWindow, GLFW_KEY_RIGHT_ALT) == GLFW_PRESS;
    const bool enterDown = !alt && glfwGetKey(gameWindow, GLFW_KEY_ENTER) == GLFW_PRESS;
    return enterDown || leaveResultsRequested;
}

}  // namespace

ScreenFonts loadScreenFonts(unsigned size)
{
    checkGlError(__FILE__, __LINE__);
    ScreenFonts fonts;
    fonts.fill = loadPolygonFont();
    checkGlError(__FILE__, __LINE__);
    fonts.outline = loadOutlineFont();
    checkGlError(__FILE__, __LINE__);
    fonts.fill->FaceSize(size, 72);
    checkGlError(__FILE__, __LINE__);
    fonts.outline->FaceSize(size, 72);
    checkGlError(__FILE__, __LINE__);
    return fonts;
}

void drawCountdownWord(ScreenFonts& fonts, const std::string& text, float scale)
{
    const int width = windowSize.width;
    const int height = windowSize.height;
    pixelProjection(width, height);
    checkGlError(__FILE__, __LINE__);

    const TextOrigin at = countdownOrigin(width, height, scale, static_cast<float>(fonts.fill->FaceSize()),
                                          fonts.fill->Advance(text.c_str(), -1, FTPoint()));
    glTranslatef(at.x, at.y, 0.0f);
    glScalef(scale, scale, scale);  // about the baseline origin
    glLineWidth(20.0f);
    glColor3f(0.0f, 0.0f, 0.0f);  // a thick black rim...
    fonts.outline->Render(text.c_str(), -1, FTPoint(), FTPoint(), FTGL::RENDER_ALL);
    glColor3f(1.0f, 1.0f, 1.0f);  // ...under white letters
    fonts.fill->Render(text.c_str(), -1, FTPoint(), FTPoint(), FTGL::RENDER_ALL);
    checkGlError(__FILE__, __LINE__);
}

void prepareCountdown(World& world, ScreenFonts& fonts)
{
    for (int n = 3; n >= 0; --n) {
        const std::string text = countdownText(n);
        fonts.fill->Advance(text.c_str(), -1, FTPoint());
        fonts.outline->Advance(text.c_str(), -1, FTPoint());
    }
    prepareText(counterCharacters, contentScale);
    if (raceGhost)
        prepareText(splitCharacters, contentScale);  // a record: splits will show
    renderFrame(world, selectedCamera());
    drawCountdownWord(fonts, countdownText(3), 1.0f);
    glFinish();
    checkGlError(__FILE__, __LINE__);
}

void drawResultsOverlay(ScreenFonts& fonts, const std::string& label, const std::string& best)
{
    const int width = windowSize.width;
    const int height = windowSize.height;
    pixelProjection(width, height);
    checkGlError(__FILE__, __LINE__);

    // Halve the scene's brightness; blending is still on from the counters.
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(width, 0);
    glVertex2i(width, height);
    glVertex2i(0, height);
    glEnd();
    checkGlError(__FILE__, __LINE__);

    glColor3f(1.0f, 1.0f, 1.0f);
    glLineWidth(2.0f);
    drawResultsLine(*fonts.outline, *fonts.fill, label, 4);
    if (!best.empty())
        drawResultsLine(*fonts.outline, *fonts.fill, best, 3);
    drawResultsLine(*fonts.outline, *fonts.fill, "Enter quits", 2);
    drawResultsLine(*fonts.outline, *fonts.fill, "Space plays again", 1);
}

void showCountdown(World& world)
{
    // The face size is fixed when the screen starts; placement follows the window every frame.
    ScreenFonts fonts = loadScreenFonts(countdownFaceSize(windowSize.height));
    prepareCountdown(world, fonts);  // so that each word's second starts with its first frame
    for (int n = 3; n >= 0; --n) {
        const std::string text = countdownText(n);
        gameSound->cues().countdownWord(n);
        const double start = shellHooks.now();
        double now = start;
        do {
            now = shellHooks.now();
            const float dt = frameTime();
            showFrame(world, dt, [&] { drawCountdownWord(fonts, text, countdownScale(now - start)); });
        } while (start + phaseLength > now);
    }
}

void showResults(World& world, const std::string& best, bool newBest)
{
    gameSound->cues().resultsOpened(newBest);
    ScreenFonts fonts = loadScreenFonts(resultsFaceSize(windowSize.width));
    const std::string label = resultsLabel(world.runTimeText());  // the clock is frozen now
    bool sizeFollowsWindow = false;
    leaveResultsRequested = false;  // a press during play does not skip the results
    againFromResultsRequested = false;
    for (;;) {
        if (againFromResultsRequested)
            throw PlayAgain{};
        if (resultsLeft())
            return;
        // Sizes are fixed when the screen starts, unless that left the time too small to read.
        const unsigned size =
            legibleResultsFaceSize(fonts.fill->FaceSize(), windowSize.width, sizeFollowsWindow);
        if (size != fonts.fill->FaceSize()) {
            fonts.fill->FaceSize(size, 72);
            fonts.outline->FaceSize(size, 72);
            checkGlError(__FILE__, __LINE__);
        }
        if (!windowMinimised) {
            renderFrame(world, selectedCamera());  // no camera update, no timer: a still scene
            drawResultsOverlay(fonts, label, best);
        }
        presentFrame(world);
        checkGlError(__FILE__, __LINE__);
    }
}
