// The primitive solids as OpenGL receives them: corners, winding and normals.

#include <algorithm>
#include <cmath>

#include "render/gl.h"
#include "render/solids.h"
#include "support/feedback.h"
#include "support/gl_context.h"

using namespace gltest;

namespace {

// drawBox's faces in drawing order, two triangles each: +x, bottom, -x, top, +y, -y.
const b2Vec3 boxFaceNormals[] = {b2Vec3(1, 0, 0), b2Vec3(0, 0, -1), b2Vec3(-1, 0, 0),
                                 b2Vec3(0, 0, 1), b2Vec3(0, 1, 0),  b2Vec3(0, -1, 0)};

// A cylinder comes back as 24 side quads (48 triangles), then the bottom and top fans.
constexpr size_t sideTriangles = 48;
constexpr size_t fanTriangles = 24;

// The normal drawCylinder should have given triangle t at point p.
b2Vec3 cylinderNormal(size_t t, const b2Vec3& p)
{
    if (t < sideTriangles)
        return b2Vec3(p.x, p.y, 0);
    return b2Vec3(0, 0, t < sideTriangles + fanTriangles ? -1.0f : 1.0f);
}

float angleDegrees(const b2Vec3& p) { return std::atan2(p.y, p.x) * 180.0f / b2_pi; }

}  // namespace

class SolidsGl : public GlTest {};

TEST_F(SolidsGl, BoxFacesSitOnTheExtentsAndWindOutward)
{
    const ObjectView view(b2Vec3(0, 0, 0), 4.0f);
    const Primitives box = captureFeedback([] { drawBox(2, 4, 6); });
    ASSERT_EQ(box.size(), 12u) << "six quads, two triangles each";

    // Face 1 is (1, 2, 3), (1, -2, 3), (1, -2, -3), (1, 2, -3), split as (v0, v1, v3), (v1, v2, v3).
    EXPECT_TRUE(closeTo(view.toObject(box[0].vertices[0]), b2Vec3(1, 2, 3), 1e-4f));
    EXPECT_TRUE(closeTo(view.toObject(box[0].vertices[1]), b2Vec3(1, -2, 3), 1e-4f));
    EXPECT_TRUE(closeTo(view.toObject(box[1].vertices[1]), b2Vec3(1, -2, -3), 1e-4f));
    EXPECT_TRUE(closeTo(view.toObject(box[0].vertices[2]), b2Vec3(1, 2, -3), 1e-4f));

    const b2Vec3 halfExtents(1, 2, 3);
    for (size_t t = 0; t < box.size(); ++t) {
        const b2Vec3 outward = boxFaceNormals[t / 2];
        const std::vector<b2Vec3> corners = view.toObject(box[t]);
        EXPECT_TRUE(closeTo(unit(windingNormal(corners)), outward, 1e-4f))
            << "triangle " << t << " is not counter-clockwise seen from outside";
        for (const b2Vec3& c : corners)
            EXPECT_NEAR(b2Dot(c, outward), b2Abs(b2Dot(halfExtents, outward)), 1e-4f)
                << "triangle " << t << " leaves its face";
    }
}

TEST_F(SolidsGl, CylinderIsClosedAndOutwardFacingWithConedOrDishedCaps)
{
    struct Case {
        float radius, length, capOffset;
    };
    // A test cylinder with coned caps, and the cart's wheel with hubs dished 0.02 inward.
    for (const Case c : {Case{1, 2, 0.5f}, Case{0.07f, 0.05f, -0.02f}}) {
        SCOPED_TRACE("radius " + std::to_string(c.radius) + ", cap offset " + std::to_string(c.capOffset));
        const ObjectView view(b2Vec3(0, 0, 0), 1.5f * std::max(c.radius, c.length));
        const Primitives cylinder = captureFeedback([&] { drawCylinder(c.radius, c.length, c.capOffset); });
        ASSERT_EQ(cylinder.size(), sideTriangles + 2 * fanTriangles);
        const float tolerance = 1e-4f * c.radius;
        const float h = c.length / 2;

        for (size_t t = 0; t < cylinder.size(); ++t) {
            const std::vector<b2Vec3> corners = view.toObject(cylinder[t]);
            EXPECT_GT(b2Dot(windingNormal(corners), cylinderNormal(t, centroid(corners))), 0.0f)
                << "triangle " << t << " faces into the cylinder";
            if (t < sideTriangles) {
                for (const b2Vec3& p : corners) {
                    EXPECT_NEAR(std::hypot(p.x, p.y), c.radius, tolerance) << "side triangle " << t;
                    EXPECT_NEAR(b2Abs(p.z), h, tolerance) << "side triangle " << t;
                }
            } else {  // each fan triangle: (centre, rim j, rim j + 1)
                const float side = cylinderNormal(t, corners[0]).z;
                EXPECT_TRUE(closeTo(corners[0], b2Vec3(0, 0, side * (h + c.capOffset)), tolerance))
                    << "cap centre " << t;
                EXPECT_NEAR(corners[1].z, side * h, tolerance) << "rim of cap triangle " << t;
                EXPECT_NEAR(corners[2].z, side * h, tolerance) << "rim of cap triangle " << t;
            }
        }
        // The bottom rim runs clockwise seen from +z, the top one anticlockwise.
        EXPECT_NEAR(angleDegrees(view.toObject(cylinder[sideTriangles].vertices[2])), -15.0f, 1e-2f);
        EXPECT_NEAR(angleDegrees(view.toObject(cylinder[sideTriangles + fanTriangles].vertices[2])), 15.0f,
                    1e-2f);
    }
}

TEST_F(SolidsGl, ShadingFollowsTheOutwardNormals)
{
    // One white directional light on a white diffuse material, nothing else lit: each vertex
    // comes back with red = max(0, n . l) for the normal it was drawn with.
    const auto shade = [](b2Vec3 normal, b2Vec3 towardLight) {
        return std::max(0.0f, b2Dot(unit(normal), unit(towardLight)));
    };
    const ObjectView view(b2Vec3(0, 0, 0), 4.0f);
    for (const b2Vec3 light : {b2Vec3(1, 2, 3), b2Vec3(-1, -2, -3)}) {
        SCOPED_TRACE(::testing::Message() << "light toward " << light);
        glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT);
        const GLfloat none[4] = {0, 0, 0, 1};
        const GLfloat white[4] = {1, 1, 1, 1};
        const GLfloat direction[4] = {light.x, light.y, light.z, 0};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
        for (GLenum term : {GL_AMBIENT, GL_SPECULAR, GL_EMISSION})
            glMaterialfv(GL_FRONT_AND_BACK, term, none);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_AMBIENT, none);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const Primitives box = captureFeedback([] { drawBox(2, 4, 6); });
        const Primitives cylinder = captureFeedback([] { drawCylinder(1, 2, 0.5f); });
        glPopAttrib();

        ASSERT_EQ(box.size(), 12u);
        for (size_t t = 0; t < box.size(); ++t)
            for (const FeedbackVertex& v : box[t].vertices)
                EXPECT_NEAR(v.colour.r, shade(boxFaceNormals[t / 2], light), 2e-3f)
                    << "box face " << t / 2 + 1;
        ASSERT_EQ(cylinder.size(), sideTriangles + 2 * fanTriangles);
        for (size_t t = 0; t < cylinder.size(); ++t)
            for (const FeedbackVertex& v : cylinder[t].vertices)
                EXPECT_NEAR(v.colour.r, shade(cylinderNormal(t, view.toObject(v)), light), 2e-3f)
                    << "cylinder triangle " << t << " at " << view.toObject(v);
    }
}
