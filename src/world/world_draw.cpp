// The World's drawing passes: the lit store, the counters and the physics overlay.

#include "render/gl.h"
#include "render/solids.h"
#include "render/text.h"
#include "render/window_size.h"
#include "world/counter_layout.h"
#include "world/world.h"

namespace {

// The store's sizes, in units (one map cell); z is up from the floor tiles.
constexpr float floorMargin = 2.0f;  // the floor reaches this far past the map on every side
constexpr float floorDepth = 0.01f;  // below the tiles, whose gaps show it as grid lines
constexpr float tileSize = 0.95f;    // of a cell, a square tile on every open cell
constexpr float shelfCentre = 1.0f;  // a shelf block spans z = -1 to 3 (hidden below the floor)
constexpr float shelfHalfHeight = 2.0f;
constexpr float itemHeight = 0.7f;  // of an item cube's centre
constexpr float itemSize = 0.7f;    // an item cube's edge

}  // namespace

void World::render() const
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glDisable(GL_POLYGON_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);  // the store is opaque: blending goes on for the items below
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_LIGHT0);

    // A directional light fixed in the world, from high above the +x, +y side.
    const GLfloat lightDirection[4] = {1.0f, 1.3f, 3.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightDirection);
    checkGlError(__FILE__, __LINE__);

    // The floor, with the tiles just above it.
    const float fw = static_cast<float>(m_desc.width) + floorMargin;
    const float fh = static_cast<float>(m_desc.height) + floorMargin;
    glColor3f(0.8f, 0.8f, 0.8f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-floorMargin, -floorMargin, -floorDepth);
    glVertex3f(fw, -floorMargin, -floorDepth);
    glVertex3f(fw, fh, -floorDepth);
    glVertex3f(-floorMargin, fh, -floorDepth);
    glEnd();
    checkGlError(__FILE__, __LINE__);

    // Every cell in one batch of quads, each placed by its own vertices rather than by a matrix
    // of its own: a shelf block or a tile.
    glBegin(GL_QUADS);
    {
        char previous = 0;
        for (int x = 0; x < m_desc.width; ++x) {
            const float cx = static_cast<float>(x) + 0.5f;
            for (int y = 0; y < m_desc.height; ++y) {
                const float cy = static_cast<float>(y) + 0.5f;
                const char kind = cellAt(m_desc, x, y) == 'x' ? 'x' : ' ';
                if (kind != previous) {
                    if (kind == 'x')
                        glColor3f(0.5f, 0.7f, 1.0f);
                    else
                        glColor3f(0.9f, 0.9f, 0.9f);
                    previous = kind;
                }
                if (kind == 'x') {
                    boxQuads(cx, cy, shelfCentre, 0.5f, 0.5f, shelfHalfHeight);
                } else {
                    const float h = 0.5f * tileSize;
                    glNormal3f(0.0f, 0.0f, 1.0f);
                    glVertex3f(cx - h, cy - h, 0.0f);
                    glVertex3f(cx + h, cy - h, 0.0f);
                    glVertex3f(cx + h, cy + h, 0.0f);
                    glVertex3f(cx - h, cy + h, 0.0f);
                }
            }
        }
    }
    glEnd();
    checkGlError(__FILE__, __LINE__);

    // Translucent items last, over all the opaque geometry; only from here on is blending
    // needed (the cart's smooth lines want it too).
    glEnable(GL_BLEND);
    glColor4f(0.5f, 0.5f, 1.0f, 0.9f);
    for (const std::unique_ptr<Item>& item : m_items) {
        if (!item)
            continue;
        glPushMatrix();
        {
            glTranslatef(item->x, item->y, itemHeight);
            glRotatef(m_spinAngle, 0.0f, 0.0f, 1.0f);
            glRotatef(45.0f, 1.0f, 0.0f, 0.0f);
            glRotatef(45.0f, 0.0f, 1.0f, 0.0f);
            drawBox(itemSize, itemSize, itemSize);
        }
        glPopMatrix();
    }
    checkGlError(__FILE__, __LINE__);

    m_cart->render();
    checkGlError(__FILE__, __LINE__);
}

void World::renderCounters() const
{
    const int width = windowSize.width;
    const int height = windowSize.height;

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    checkGlError(__FILE__, __LINE__);

    const float scale = contentScale;
    const float baseline = counterBaseline(height, scale);
    glPushMatrix();
    {
        glTranslatef(itemsLeftX(scale), baseline, 0.0f);
        drawText(itemsLeftText(m_itemsLeft), false, scale);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);

    const std::string clock = runTimeText();
    glPushMatrix();
    {
        glTranslatef(clockX(width, textWidth(clock, scale), scale), baseline, 0.0f);
        drawText(clock, true, scale);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);
}

void World::renderPhysicsDebug()
{
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    m_debugDraw.SetFlags(b2Draw::e_shapeBit | b2Draw::e_jointBit | b2Draw::e_aabbBit | b2Draw::e_pairBit |
                         b2Draw::e_centerOfMassBit);
    m_physics.DebugDraw();
    checkGlError(__FILE__, __LINE__);
}
