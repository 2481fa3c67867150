// The World's drawing passes: the lit store, the counters and the physics overlay.

#include <vector>

#include "render/gl.h"
#include "render/solids.h"
#include "render/text.h"
#include "render/view.h"
#include "render/window_size.h"
#include "world/counter_layout.h"
#include "world/store_cells.h"
#include "world/world.h"

namespace {

constexpr float itemHeight = 0.7f;  // units, of an item cube's centre
constexpr float itemSize = 0.7f;    // units, an item cube's edge

// The faces of the shelf block on `cell` given by `faces` (BoxFace bits), as quads.
void shelfQuads(const Cell& cell, unsigned faces)
{
    const float centre = 0.5f * (storeSolids.shelfBottom + storeSolids.shelfTop);
    const float halfHeight = 0.5f * (storeSolids.shelfTop - storeSolids.shelfBottom);
    boxQuads(static_cast<float>(cell.x) + 0.5f, static_cast<float>(cell.y) + 0.5f, centre, 0.5f, 0.5f,
             halfHeight, faces);
}

void shelfColour() { glColor3f(0.5f, 0.7f, 1.0f); }

// The cells as quads, inside glBegin(GL_QUADS): each placed by its own vertices rather than by a
// matrix of its own, a tile or a shelf block, whole or without the sides it turns to other blocks.
void cellQuads(const LevelDesc& desc, const std::vector<Cell>& cells, bool wholeBlocks)
{
    char previous = 0;
    for (const Cell& cell : cells) {
        const char kind = shelfAt(desc, cell.x, cell.y) ? 'x' : ' ';
        if (kind != previous) {
            if (kind == 'x')
                shelfColour();
            else
                glColor3f(0.9f, 0.9f, 0.9f);
            previous = kind;
        }
        if (kind == 'x') {
            unsigned faces = AllFaces;
            if (!wholeBlocks) {
                faces &= shelfAt(desc, cell.x + 1, cell.y) ? ~PlusX : ~0u;
                faces &= shelfAt(desc, cell.x - 1, cell.y) ? ~MinusX : ~0u;
                faces &= shelfAt(desc, cell.x, cell.y + 1) ? ~PlusY : ~0u;
                faces &= shelfAt(desc, cell.x, cell.y - 1) ? ~MinusY : ~0u;
            }
            shelfQuads(cell, faces);
        } else {
            const float cx = static_cast<float>(cell.x) + 0.5f;
            const float cy = static_cast<float>(cell.y) + 0.5f;
            const float h = 0.5f * storeSolids.tileSize;
            glNormal3f(0.0f, 0.0f, 1.0f);
            glVertex3f(cx - h, cy - h, 0.0f);
            glVertex3f(cx + h, cy - h, 0.0f);
            glVertex3f(cx + h, cy + h, 0.0f);
            glVertex3f(cx - h, cy + h, 0.0f);
        }
    }
}

// Each inner side alone, only within its window.
void innerSides(const std::vector<InnerSide>& sides)
{
    for (const InnerSide& side : sides) {
        glScissor(side.window.x, side.window.y, side.window.width, side.window.height);
        glBegin(GL_QUADS);
        shelfColour();
        shelfQuads(side.cell, side.dx > 0 ? PlusX : side.dx < 0 ? MinusX : side.dy > 0 ? PlusY : MinusY);
        glEnd();
    }
}

}  // namespace

void World::render()
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

    // What of the store this view can show, in the order it is laid down (world/store_cells.h).
    GLfloat modelview[16];
    GLfloat projection[16];
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    checkGlError(__FILE__, __LINE__);
    m_storeCells.update(m_desc, View(modelview, projection, viewport));
    const StoreCells& cells = m_storeCells;

    // Nearer cells first, so that depth testing turns away what they hide before it costs a
    // pixel. Where two surfaces meet at the same depth (a shelf block on the floor, the side
    // between two blocks at the edge of a visible side) the picture stays the one of drawing the
    // floor and then every block whole, in map order, in which the first drawn shows: a cell
    // drawn after cells that follow it in map order takes such ties (GL_LEQUAL), one drawn after
    // cells that precede it leaves them (GL_LESS); the sides between two blocks, hidden but along
    // those edges, come after all the cells, each scissored to its edges, and take the ties of a
    // block earlier in map order; the floor comes last and takes them all.
    glDepthFunc(GL_LEQUAL);
    glBegin(GL_QUADS);
    cellQuads(m_desc, cells.reversed(), !cells.amongShelves());
    glEnd();
    glDepthFunc(GL_LESS);
    glBegin(GL_QUADS);
    cellQuads(m_desc, cells.inMapOrder(), !cells.amongShelves());
    glEnd();
    checkGlError(__FILE__, __LINE__);
    glEnable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LEQUAL);
    innerSides(cells.taking());
    glDepthFunc(GL_LESS);
    innerSides(cells.leaving());
    glDisable(GL_SCISSOR_TEST);
    checkGlError(__FILE__, __LINE__);

    // The floor, just below the tiles; where they cover it, depth testing turns it away.
    const float margin = storeSolids.floorMargin;
    const float depth = storeSolids.floorDepth;
    const float fw = static_cast<float>(m_desc.width) + margin;
    const float fh = static_cast<float>(m_desc.height) + margin;
    glDepthFunc(GL_LEQUAL);
    glColor3f(0.8f, 0.8f, 0.8f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-margin, -margin, -depth);
    glVertex3f(fw, -margin, -depth);
    glVertex3f(fw, fh, -depth);
    glVertex3f(-margin, fh, -depth);
    glEnd();
    glDepthFunc(GL_LESS);
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

    // In a window too narrow for both at their size, both shrink together (sized by the line of
    // the run's first frame, the longest, so that they keep their size through the run).
    const float scale = contentScale;
    const std::string clock = runTimeText();
    const float clockWidth = textWidth(clock, scale);
    const float shrink =
        counterShrink(width, proportionalTextWidth(itemsLeftText(static_cast<int>(m_items.size())), scale),
                      clockWidth, clockWidth / static_cast<float>(clock.size()), scale);
    const float textScale = shrink < 1.0f ? scale * shrink : scale;
    const float baseline = counterBaseline(height, textScale);
    glPushMatrix();
    {
        glTranslatef(itemsLeftX(scale), baseline, 0.0f);
        drawText(itemsLeftText(m_itemsLeft), false, textScale);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);

    glPushMatrix();
    {
        glTranslatef(clockX(width, shrink < 1.0f ? textWidth(clock, textScale) : clockWidth, scale), baseline,
                     0.0f);
        drawText(clock, true, textScale);
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
