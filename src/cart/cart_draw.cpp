// The cart's drawing: wire basket, handle, swivelling casters and the hands' push lines,
// all in the cart's own frame (+x front, +y left, z up).

#include <cmath>

#include "cart/cart.h"
#include "cart/cart_def.h"
#include "render/angles.h"
#include "render/gl.h"
#include "render/solids.h"

namespace {

// The basket: an upside-down truncated pyramid whose rim is the body's box at the handle's
// height and whose floor is a smaller copy of it lower down.
constexpr float rimHeight = 1.0f;     // units above the floor; the handle and push lines too
constexpr float floorHeight = 0.45f;  // units above the floor
constexpr float basketDepth = 0.55f;  // units, rim to floor
constexpr float floorShare = 0.7f;    // of the rim's extents
constexpr float floorHalfWidth = cartDef.halfWidth * floorShare;  // 0.28 units
constexpr float floorHalfLength = 0.49f;  // units: the long ribs' ends, 0.7 of the rim's 0.7

// The basket in one batch of 172 line vertices.
void drawBasket()
{
    glColor3f(0.5f, 0.5f, 0.5f);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i <= 12; ++i) {  // cross ribs, rear to front
        const float xt = i * cartDef.length / 12.0f - cartDef.halfLength;
        const float xb = xt * floorShare;
        glNormal3f(1, 0, 0);
        glVertex3f(xt, -cartDef.halfWidth, rimHeight);
        glVertex3f(xb, -floorHalfWidth, floorHeight);
        glNormal3f(0, 0, 1);
        glVertex3f(xb, -floorHalfWidth, floorHeight);
        glVertex3f(xb, floorHalfWidth, floorHeight);
        glNormal3f(-1, 0, 0);
        glVertex3f(xb, floorHalfWidth, floorHeight);
        glVertex3f(xt, cartDef.halfWidth, rimHeight);
    }
    for (int i = 0; i <= 8; ++i) {  // long ribs, right to left, an eighth of the width apart
        const float yt = i * cartDef.width * 0.125f - cartDef.halfWidth;
        const float yb = yt * floorShare;
        glNormal3f(0, 1, 0);
        glVertex3f(-cartDef.halfLength, yt, rimHeight);
        glVertex3f(-floorHalfLength, yb, floorHeight);
        glNormal3f(0, 0, 1);
        glVertex3f(-floorHalfLength, yb, floorHeight);
        glVertex3f(floorHalfLength, yb, floorHeight);
        glNormal3f(0, -1, 0);
        glVertex3f(floorHalfLength, yb, floorHeight);
        glVertex3f(cartDef.halfLength, yt, rimHeight);
    }
    glNormal3f(0, 0, 1);
    for (int k = 0; k <= 4; ++k) {  // rings, floor to rim
        const float t = k * 0.25f;
        const float s = t + (1.0f - t) * floorShare;
        const float z = k * basketDepth * 0.25f + floorHeight;
        const float hx = s * cartDef.length * 0.5f;
        const float hy = s * cartDef.width * 0.5f;
        glVertex3f(-hx, -hy, z);
        glVertex3f(hx, -hy, z);
        glVertex3f(hx, -hy, z);
        glVertex3f(hx, hy, z);
        glVertex3f(hx, hy, z);
        glVertex3f(-hx, hy, z);
        glVertex3f(-hx, hy, z);
        glVertex3f(-hx, -hy, z);
    }
    glEnd();
}

}  // namespace

void Cart::render() const
{
    const b2Vec2 position = m_body->GetPosition();
    glPushMatrix();
    {
        glTranslatef(position.x, position.y, 0.0f);
        glRotatef(degrees<double>(m_body->GetAngle()), 0.0f, 0.0f, 1.0f);
        checkGlError(__FILE__, __LINE__);

        drawBasket();
        checkGlError(__FILE__, __LINE__);

        // The handle bar across the rear top edge, its square section turned to a diamond.
        glPushMatrix();
        {
            glColor3f(0.8f, 0.2f, 0.1f);
            glTranslatef(-cartDef.halfLength, 0.0f, rimHeight);
            glRotatef(45.0f, 0.0f, 1.0f, 0.0f);
            drawBox(0.05f, cartDef.width, 0.05f);
        }
        glPopMatrix();
        checkGlError(__FILE__, __LINE__);

        // Four casters: rear right, rear left, front right, front left. Each wheel trails 0.08
        // behind its pivot along the motion of the cart at that pivot.
        const float sin30 = std::sin(pi / 6.0f);
        const float cos30 = std::cos(pi / 6.0f);
        for (int sx = -1; sx <= 1; sx += 2) {
            for (int sy = -1; sy <= 1; sy += 2) {
                const float px = sx * 0.3f * cartDef.length;
                const float py = sy * 0.3f * cartDef.width;

                glColor3f(0.8f, 0.8f, 0.8f);
                glPushMatrix();
                {
                    // The strut leans so that its lower end is farther from the cart's centre.
                    glTranslatef(px - sx * sin30 * 0.31f * 0.5f, py, 0.295f);
                    glRotatef(degrees<double>(-sx * (pi / 6.0f)), 0.0f, 1.0f, 0.0f);
                    glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
                    drawBox(0.02f, 0.02f, 0.31f / cos30);
                }
                glPopMatrix();

                glColor3f(0.5f, 0.5f, 0.5f);
                glPushMatrix();
                {
                    glTranslatef(px, py, 0.07f);
                    glRotatef(casterHeading(b2Vec2(px, py)), 0.0f, 0.0f, 1.0f);
                    glTranslatef(0.0f, 0.0f, 0.042f);
                    drawBox(0.02f, 0.02f, 0.084f);  // swivel post
                    glTranslatef(-0.08f, 0.0f, -0.042f);
                    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // cylinder axis onto the axle
                    drawCylinder(0.07f, 0.05f, -0.02f);
                }
                glPopMatrix();
            }
        }
        checkGlError(__FILE__, __LINE__);

        // Push lines: each hand's push drawn from its grip, one unit per unit of force.
        glColor3f(0.3f, 0.1f, 0.1f);
        glLineWidth(5.0f);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glBegin(GL_LINES);
        for (const Hand& hand : m_hands) {
            glVertex3f(hand.grip.x, hand.grip.y, rimHeight);
            glVertex3f(hand.grip.x + hand.push.x, hand.grip.y + hand.push.y, rimHeight);
        }
        glEnd();
        checkGlError(__FILE__, __LINE__);
    }
    glPopMatrix();
}
