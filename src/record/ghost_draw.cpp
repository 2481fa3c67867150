// The ghost's drawing: the record's trolley as a translucent, tinted shape of the player's, so
// that it is plainly not the player's own: a basket, its handle and four casters, lit as the
// store is, blended over what is behind it and hidden by the shelves in front of it.

#include "cart/cart_def.h"
#include "record/ghost.h"
#include "render/angles.h"
#include "render/gl.h"
#include "render/solids.h"

namespace {

constexpr float basketBottom = 0.45f;                // units above the floor, as the player's basket
constexpr float basketTop = 1.0f;                    // units: its rim and the handle
constexpr float tint[4] = {0.3f, 1.0f, 0.5f, 0.4f};  // a pale green, 40 % opaque

}  // namespace

void Ghost::render() const
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(tint[0], tint[1], tint[2], tint[3]);
    checkGlError(__FILE__, __LINE__);

    const b2Body& body = cart().body();
    const b2Vec2 position = body.GetPosition();
    glPushMatrix();
    {
        glTranslatef(position.x, position.y, 0.0f);
        glRotatef(degrees<double>(body.GetAngle()), 0.0f, 0.0f, 1.0f);
        glPushMatrix();
        {
            glTranslatef(0.0f, 0.0f, 0.5f * (basketBottom + basketTop));
            drawBox(cartDef.length, cartDef.width, basketTop - basketBottom);
        }
        glPopMatrix();
        glPushMatrix();
        {
            glTranslatef(-cartDef.halfLength, 0.0f, basketTop);
            drawBox(0.08f, cartDef.width, 0.08f);
        }
        glPopMatrix();
        for (int sx = -1; sx <= 1; sx += 2) {
            for (int sy = -1; sy <= 1; sy += 2) {
                glPushMatrix();
                {
                    glTranslatef(sx * 0.3f * cartDef.length, sy * 0.3f * cartDef.width, 0.5f * basketBottom);
                    drawBox(0.06f, 0.06f, basketBottom);
                }
                glPopMatrix();
            }
        }
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);
}
