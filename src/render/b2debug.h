#pragma once

#include <box2d/box2d.h>

/// The physics overlay's drawer: turns Box2D's debug-draw requests into immediate-mode
/// lines and fills on the floor plane (z = 0) of the current view, every colour at alpha 1.
/// Owned by the World and installed in its physics world; holds no state of its own.
class DebugDraw final : public b2Draw {
public:
    void DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawCircle(const b2Vec2& center, float radius, const b2Color& color) override;
    /// The filled 36-gon only: `axis` is not drawn.
    void DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& axis,
                         const b2Color& color) override;
    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) override;
    /// The transform's local axes as two unit arrows, x red and y green.
    void DrawTransform(const b2Transform& xf) override;
    /// A point of `size` pixels.
    void DrawPoint(const b2Vec2& p, float size, const b2Color& color) override;
};
