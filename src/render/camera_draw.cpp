// The cameras' view transforms.

#include <cmath>

#include "render/camera.h"
#include "render/gl.h"

void TopDownCamera::apply()
{
    // 20 units up, looking straight down; world +x points up the screen.
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-m_position.x, -m_position.y, -20.0f);
}

void FollowCamera::apply()
{
    const float pi = 3.1415927f;
    const float h = std::atan2(m_transform.q.s, m_transform.q.c);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // +z up the screen, +y into it
    glRotatef(90.0f - h * 180.0f / pi, 0.0f, 0.0f, 1.0f);
    glTranslatef(-m_transform.p.x, -m_transform.p.y, -1.3f);
}
