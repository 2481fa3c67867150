#include "support/sim_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {

namespace {

// Distance from p to the unit square of cell (x, y); 0 inside it.
float distanceToCell(b2Vec2 p, int x, int y)
{
    const float dx = std::max({static_cast<float>(x) - p.x, 0.0f, p.x - static_cast<float>(x + 1)});
    const float dy = std::max({static_cast<float>(y) - p.y, 0.0f, p.y - static_cast<float>(y + 1)});
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

bool isShelf(const LevelDesc& desc, int x, int y, bool outsideIsSolid)
{
    if (x < 0 || y < 0 || x >= desc.width || y >= desc.height)
        return outsideIsSolid;
    return cellAt(desc, x, y) == 'x';
}

bool centreInShelf(const LevelDesc& desc, b2Vec2 p)
{
    if (!(p.x >= 0.0f && p.y >= 0.0f && p.x < static_cast<float>(desc.width) &&
          p.y < static_cast<float>(desc.height)))
        return true;
    return isShelf(desc, static_cast<int>(p.x), static_cast<int>(p.y));
}

float deepestCornerInShelf(const LevelDesc& desc, const b2Body& cart)
{
    float deepest = 0.0f;
    const b2Vec2 corners[4] = {{0.7f, 0.4f}, {-0.7f, 0.4f}, {-0.7f, -0.4f}, {0.7f, -0.4f}};
    for (const b2Vec2& local : corners) {
        const b2Vec2 p = cart.GetWorldPoint(local);
        const float fx = std::floor(p.x);
        const float fy = std::floor(p.y);
        if (!(std::isfinite(fx) && std::isfinite(fy)) || std::fabs(fx) > 1e6f || std::fabs(fy) > 1e6f)
            continue;  // nowhere near the map; bodyIsFinite reports non-finite states
        const int x = static_cast<int>(fx);
        const int y = static_cast<int>(fy);
        if (!isShelf(desc, x, y, false))
            continue;
        // Depth: the distance to the nearest edge of the cell that leads onto open floor.
        // Shelf blocks merge, so an edge shared with another shelf cell does not count.
        float depth = 2.0f;
        const float toEdge[4] = {p.x - fx, fx + 1.0f - p.x, p.y - fy, fy + 1.0f - p.y};
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k)
            if (!isShelf(desc, nx[k], ny[k], false))
                depth = std::min(depth, toEdge[k]);
        if (depth == 2.0f)
            depth = 1.0f;  // a cell surrounded by shelves: as deep as it gets
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

float shelfClearance(const LevelDesc& desc, b2Vec2 p, int reach)
{
    const int cx = static_cast<int>(std::floor(p.x));
    const int cy = static_cast<int>(std::floor(p.y));
    float best = static_cast<float>(reach + 1);
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x)
            if (isShelf(desc, x, y))
                best = std::min(best, distanceToCell(p, x, y));
    return best;
}

bool bodyIsFinite(const b2Body& body)
{
    const b2Vec2 p = body.GetPosition();
    const b2Vec2 v = body.GetLinearVelocity();
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(body.GetAngle()) && std::isfinite(v.x) &&
           std::isfinite(v.y) && std::isfinite(body.GetAngularVelocity());
}

std::string pushOutOfLimits(const Cart& cart)
{
    std::string problems;
    for (int h = 0; h < 2; ++h) {
        const b2Vec2 push = cart.hands()[h].push;
        // Written as negations so that NaN counts as out of range.
        if (!(push.x >= -forwardPushLimit && push.x <= forwardPushLimit) ||
            !(push.y >= -lateralPushLimit && push.y <= lateralPushLimit)) {
            char text[96];
            std::snprintf(text, sizeof text, "hand %d push (%.9g, %.9g); ", h, static_cast<double>(push.x),
                          static_cast<double>(push.y));
            problems += text;
        }
    }
    return problems;
}

int slotsHeld(const World& world)
{
    return static_cast<int>(std::count_if(world.items().begin(), world.items().end(),
                                          [](const std::unique_ptr<Item>& slot) { return slot != nullptr; }));
}

std::string describe(const World& world)
{
    const b2Body& body = world.cart().body();
    char text[200];
    std::snprintf(text, sizeof text, "t=%.4f cart (%.4f, %.4f) angle %.4f v (%.4f, %.4f) w %.4f items %d",
                  world.runClock(), static_cast<double>(body.GetPosition().x),
                  static_cast<double>(body.GetPosition().y), static_cast<double>(body.GetAngle()),
                  static_cast<double>(body.GetLinearVelocity().x),
                  static_cast<double>(body.GetLinearVelocity().y),
                  static_cast<double>(body.GetAngularVelocity()), world.itemsLeft());
    return text;
}

}  // namespace sim
