// The cameras' view transforms.

#include <cmath>

#include "render/angles.h"
#include "render/camera.h"
#include "render/gl.h"

void TopDownCamera::apply()
{
    // High above, looking straight down; world +x points up the screen.
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-m_position.x, -m_position.y, -cameraDef.overheadHeight);
}

void FollowCamera::apply()
{
    const float h = std::atan2(m_transform.q.s, m_transform.q.c);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // +z up the screen, +y into it
    glRotatef(90.0f - degrees(h), 0.0f, 0.0f, 1.0f);
    glTranslatef(-m_transform.p.x, -m_transform.p.y, -cameraDef.chaseEyeHeight);
}
