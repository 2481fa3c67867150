#pragma once

// An autopilot that plays a level through the eight driving flags alone, the way a player at
// the keyboard would: it plans a route over the map's cells through every item, then steers
// the cart along it frame by frame. Deterministic: the same World and the same frame times
// give the same flags.

#include <box2d/box2d.h>

#include <vector>

#include "cart/cart_controls.h"
#include "world/level.h"
#include "world/world.h"

namespace sim {

/// A map cell, x from the left and y from the bottom.
struct Cell {
    int x = 0;
    int y = 0;
};

inline bool operator==(Cell a, Cell b) { return a.x == b.x && a.y == b.y; }

/// The centre of `c`, units.
inline b2Vec2 centreOf(Cell c)
{
    return b2Vec2(static_cast<float>(c.x) + 0.5f, static_cast<float>(c.y) + 0.5f);
}

/// Routes over the open cells of a level: eight neighbours, no cutting past a shelf's corner,
/// and an extra cost on cells beside shelves so that routes keep to the middle of the aisles.
/// Keeps a reference to `desc`.
class GridPlanner {
public:
    explicit GridPlanner(const LevelDesc& desc);

    /// True for a cell inside the map that is not a shelf.
    bool isOpen(Cell c) const;
    /// The open cell whose centre is nearest to `p` (units); `p`'s own cell when it is open.
    Cell nearestOpenCell(b2Vec2 p) const;
    /// The cheapest cell path (A*) from `from` to `to`, both included; empty when there is none.
    std::vector<Cell> path(Cell from, Cell to) const;
    /// The cost of the cheapest path from `from` to every cell, indexed y * width + x;
    /// unreachable cells get infinity.
    std::vector<float> costsFrom(Cell from) const;
    /// The cost of walking `cells` step by step: each step's length plus half the shelf
    /// penalty of each of its two cells, so the same both ways.
    float pathCost(const std::vector<Cell>& cells) const;
    /// `cells` as a polyline (units) from `start`: corners are cut wherever the straight line
    /// keeps as far from the shelves as the cells it replaces (up to 0.95 units).
    std::vector<b2Vec2> smooth(b2Vec2 start, const std::vector<Cell>& cells) const;
    /// True when every point of the segment a-b (units) is at least `need` units from a shelf.
    bool straightLineClear(b2Vec2 a, b2Vec2 b, float need) const;

private:
    int index(Cell c) const { return c.y * m_desc.width + c.x; }
    float stepCost(Cell from, Cell to) const;

    const LevelDesc& m_desc;
    std::vector<float> m_penalty;    // per cell, for ending a step there
    std::vector<float> m_clearance;  // per cell centre, units to the nearest shelf
};

/// An order in which to visit points 1..n starting from point 0, given their symmetric cost
/// matrix `cost[i][j]`: nearest neighbour (once for each choice of first point), each improved
/// by 2-opt and or-opt moves until none helps; the cheapest wins. Returns the point numbers
/// 1..n in visiting order; empty when n is 0.
std::vector<int> planVisitOrder(const std::vector<std::vector<float>>& cost);

/// The total cost of visiting `order` from point 0.
float orderCost(const std::vector<std::vector<float>>& cost, const std::vector<int>& order);

/// Plays a World's level to the end. Construct it on the World it is to drive (it plans the
/// visit order from the cart's pose then), call steer() before every World::step and write
/// its result into the cart's controls.
class Autopilot {
public:
    explicit Autopilot(const World& world);

    /// The flags for the coming step of `dt` seconds.
    CartControls steer(const World& world, float dt);

    /// The item slots in the order the autopilot means to take them.
    const std::vector<int>& plannedOrder() const { return m_order; }
    /// How often it has planned a route from scratch: at the start, after each recovery, when
    /// the cart strayed from its route and when an item further down the order went early.
    int routesPlanned() const { return m_routesPlanned; }
    /// How often it has backed away from a shelf it was stuck against.
    int recoveries() const { return m_recoveries; }

private:
    void followTargets(const World& world);
    void planRoute(const World& world);
    void appendLeg();
    void takeLeg(const World& world);
    CartControls holdPushes(const Cart& cart, const b2Vec2 wanted[2], float dt) const;

    const LevelDesc& m_desc;
    GridPlanner m_planner;
    std::vector<Cell> m_itemCells;  // per slot
    std::vector<int> m_order;       // slots
    size_t m_next = 0;              // index into m_order of the item being driven to

    std::vector<b2Vec2> m_route;    // polyline from where the cart was when it was planned
    std::vector<size_t> m_legEnds;  // index in m_route of each planned item, in order
    size_t m_segment = 0;           // the route segment the cart is on
    bool m_needRoute = true;

    float m_bestRemaining = 0.0f;  // shortest distance to the route's end seen, units
    float m_sinceProgress = 0.0f;  // seconds since it last got shorter
    float m_backOffLeft = 0.0f;    // seconds of backing away still to go
    b2Vec2 m_backOffDirection{0.0f, 0.0f};

    int m_routesPlanned = 0;
    int m_recoveries = 0;
};

}  // namespace sim
