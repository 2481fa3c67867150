// The shell's drawing: the per-frame sequence every frame of the game is drawn by.

#include <stdexcept>
#include <string>

#include "main/shell.h"
#include "record/ghost.h"
#include "render/camera.h"
#include "render/gl.h"
#include "render/text.h"
#include "world/counter_layout.h"
#include "world/world.h"

namespace {

constexpr double fieldOfView = 60.0;  // degrees, from the bottom of the view to its top
constexpr double nearPlane = 1.0;     // units in front of the eye
constexpr double farPlane = 100.0;    // units: well past the far side of the store

constexpr TextColour aheadColour{0.35f, 1.0f, 0.35f};  // green: ahead of the record
constexpr TextColour behindColour{1.0f, 0.4f, 0.3f};   // red: behind it, or level

// The latest split under the run clock, its right end under the clock's, in the counters' state.
void drawSplit(const World& world)
{
    if (!(world.runClock() < shownSplit.until))
        return;
    const float scale = contentScale;
    const std::string text = marginText(shownSplit.margin);
    glPushMatrix();
    {
        glTranslatef(clockX(windowSize.width, textWidth(text, scale), scale),
                     splitBaseline(windowSize.height, scale), 0.0f);
        drawText(text, true, scale, shownSplit.margin < 0.0 ? aheadColour : behindColour);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);
}

}  // namespace

void renderFrame(World& world, Camera& camera)
{
    const int width = windowSize.width;
    const int height = windowSize.height;

    checkGlError(__FILE__, __LINE__);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    checkGlError(__FILE__, __LINE__);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    checkGlError(__FILE__, __LINE__);
    glViewport(0, 0, width, height);
    checkGlError(__FILE__, __LINE__);
    glMatrixMode(GL_PROJECTION);
    checkGlError(__FILE__, __LINE__);
    glLoadIdentity();
    checkGlError(__FILE__, __LINE__);
    if (width < 1 || height < 1)
        throw std::runtime_error("Invalid window size");
    gluPerspective(fieldOfView, static_cast<double>(width) / static_cast<double>(height), nearPlane,
                   farPlane);
    checkGlError(__FILE__, __LINE__);
    glMatrixMode(GL_MODELVIEW);
    checkGlError(__FILE__, __LINE__);
    glLoadIdentity();
    checkGlError(__FILE__, __LINE__);

    camera.apply();
    checkGlError(__FILE__, __LINE__);
    world.render();
    checkGlError(__FILE__, __LINE__);
    if (raceGhost && ghostShown) {
        raceGhost->render();
        checkGlError(__FILE__, __LINE__);
    }
    if (debugOverlay) {
        world.renderPhysicsDebug();
        checkGlError(__FILE__, __LINE__);
    }

    // Window pixels for the counters: origin bottom left, y up.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    checkGlError(__FILE__, __LINE__);
    world.renderCounters();
    checkGlError(__FILE__, __LINE__);
    drawSplit(world);
}
