#include "support/autopilot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>

#include "cart/cart.h"
#include "support/sim_checks.h"

namespace sim {

namespace {

constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float pi = 3.14159265f;

// Route costs: a step into a cell next to a shelf costs this much more than a plain one, and
// a cell two away a little more still than open floor.
constexpr float besideShelfPenalty = 3.0f;
constexpr float nearShelfPenalty = 1.25f;
// Straight lines that replace cell paths keep at least this far from shelves where the cells
// did, units: the cart's half length plus a margin.
constexpr float wantedClearance = 0.8f;

// Driving.
constexpr float cruiseSpeed = 8.5f;          // units per second on a straight
constexpr float cornerSpeed = 2.0f;          // through a right-angled turn
constexpr float reversalSpeed = 0.4f;        // through a full reversal
constexpr float plannedDeceleration = 2.8f;  // units per second squared, well inside what braking gives
constexpr float velocityGain = 14.0f;        // per second: velocity error to acceleration
constexpr float headingGain = 43.0f;         // per second squared: heading error to angular acceleration
constexpr float turnDamping = 13.0f;         // per second
constexpr float lateralShare = 0.36f;        // of the available sideways force used for corrections
constexpr float maxHeadingOffset = 0.75f;    // radians the axis may turn away from the way to go
constexpr float lookAhead = 1.1f;            // units, plus lookAheadPerSpeed times the speed
constexpr float lookAheadPerSpeed = 0.39f;
constexpr size_t routeLegs = 3;  // items planned ahead
// Recovery: no progress for this long means stuck; back away from the nearest shelf.
constexpr float stuckAfter = 1.5f;
constexpr float backOffTime = 0.5f;
constexpr float backOffSpeed = 1.5f;
constexpr float offRouteDistance = 1.6f;  // farther than this from the route: plan a new one

// The cart's geometry as the drive model has it.
constexpr float gripX = 0.7f;         // grips sit this far behind the centre
constexpr float gripY = 0.32000002f;  // and this far to either side (0.4 * 0.8 in floats)

float wrapAngle(float a)
{
    a = std::fmod(a, 2.0f * pi);
    if (a > pi)
        a -= 2.0f * pi;
    if (a < -pi)
        a += 2.0f * pi;
    return a;
}

float octile(Cell a, Cell b)
{
    const float dx = static_cast<float>(std::abs(a.x - b.x));
    const float dy = static_cast<float>(std::abs(a.y - b.y));
    return std::max(dx, dy) + (std::sqrt(2.0f) - 1.0f) * std::min(dx, dy);
}

// Angle between the directions a->b and b->c, radians in [0, pi].
float turnAngle(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    const b2Vec2 u = b - a;
    const b2Vec2 w = c - b;
    const float lu = u.Length();
    const float lw = w.Length();
    if (lu < 1e-4f || lw < 1e-4f)
        return 0.0f;
    const float cosine = std::clamp(b2Dot(u, w) / (lu * lw), -1.0f, 1.0f);
    return std::acos(cosine);
}

// The fastest the cart should pass a vertex that turns by `angle` radians.
float speedThroughTurn(float angle)
{
    if (angle > 0.5f * pi) {  // doubling back: down to a crawl for a full reversal
        const float share = (pi - angle) / (0.5f * pi);
        return reversalSpeed + (cornerSpeed - reversalSpeed) * share;
    }
    const float straightness = 1.0f - angle / (0.5f * pi);
    return cornerSpeed + (cruiseSpeed - cornerSpeed) * straightness * straightness;
}

// The eight-neighbour steps and their lengths.
constexpr int stepX[8] = {1, -1, 0, 0, 1, 1, -1, -1};
constexpr int stepY[8] = {0, 0, 1, -1, 1, -1, 1, -1};

// Calls visit(n) for each neighbour n of c that the cart can step to: an open cell, and for a
// diagonal step one that cuts no shelf corner.
template <class IsOpen, class Visit> void forEachStep(Cell c, const IsOpen& isOpen, const Visit& visit)
{
    for (int k = 0; k < 8; ++k) {
        const Cell n{c.x + stepX[k], c.y + stepY[k]};
        if (!isOpen(n))
            continue;
        const bool diagonal = k >= 4;
        if (diagonal && (!isOpen(Cell{c.x + stepX[k], c.y}) || !isOpen(Cell{c.x, c.y + stepY[k]})))
            continue;
        visit(n);
    }
}

}  // namespace

GridPlanner::GridPlanner(const LevelDesc& desc)
    : m_desc(desc), m_penalty(static_cast<size_t>(std::max(0, desc.width * desc.height)), 0.0f),
      m_clearance(m_penalty.size(), 0.0f)
{
    for (int y = 0; y < desc.height; ++y) {
        for (int x = 0; x < desc.width; ++x) {
            int reach = 3;  // Chebyshev distance to the nearest shelf, up to 3
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (isShelf(desc, x + dx, y + dy))
                        reach = std::min(reach, std::max(std::abs(dx), std::abs(dy)));
            const size_t i = static_cast<size_t>(index(Cell{x, y}));
            m_penalty[i] = reach == 1 ? besideShelfPenalty : reach == 2 ? nearShelfPenalty : 0.0f;
            m_clearance[i] = shelfClearance(desc, centreOf(Cell{x, y}));
        }
    }
}

bool GridPlanner::isOpen(Cell c) const
{
    return c.x >= 0 && c.y >= 0 && c.x < m_desc.width && c.y < m_desc.height &&
           cellAt(m_desc, c.x, c.y) != 'x';
}

Cell GridPlanner::nearestOpenCell(b2Vec2 p) const
{
    const Cell own{static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y))};
    if (isOpen(own))
        return own;
    Cell best = own;
    float bestDistance = infinity;
    for (int y = 0; y < m_desc.height; ++y)
        for (int x = 0; x < m_desc.width; ++x)
            if (isOpen(Cell{x, y}) && (centreOf(Cell{x, y}) - p).LengthSquared() < bestDistance) {
                bestDistance = (centreOf(Cell{x, y}) - p).LengthSquared();
                best = Cell{x, y};
            }
    return best;
}

float GridPlanner::stepCost(Cell from, Cell to) const
{
    // Half each end's penalty, so that a path costs the same both ways.
    const bool diagonal = from.x != to.x && from.y != to.y;
    return (diagonal ? std::sqrt(2.0f) : 1.0f) +
           0.5f * (m_penalty[static_cast<size_t>(index(from))] + m_penalty[static_cast<size_t>(index(to))]);
}

float GridPlanner::pathCost(const std::vector<Cell>& cells) const
{
    float total = 0.0f;
    for (size_t i = 1; i < cells.size(); ++i)
        total += stepCost(cells[i - 1], cells[i]);
    return total;
}

std::vector<Cell> GridPlanner::path(Cell from, Cell to) const
{
    if (!isOpen(from) || !isOpen(to))
        return {};
    const size_t cells = m_penalty.size();
    std::vector<float> cost(cells, infinity);
    std::vector<int> parent(cells, -1);
    std::vector<bool> closed(cells, false);
    // Ordered by estimate, then by cell index, so ties always break the same way.
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    cost[static_cast<size_t>(index(from))] = 0.0f;
    open.push({octile(from, to), index(from)});
    while (!open.empty()) {
        const int current = open.top().second;
        open.pop();
        if (closed[static_cast<size_t>(current)])
            continue;
        closed[static_cast<size_t>(current)] = true;
        const Cell c{current % m_desc.width, current / m_desc.width};
        if (c == to)
            break;
        forEachStep(
            c, [this](Cell cell) { return isOpen(cell); },
            [&](Cell n) {
                const float candidate = cost[static_cast<size_t>(current)] + stepCost(c, n);
                const size_t ni = static_cast<size_t>(index(n));
                if (candidate < cost[ni]) {
                    cost[ni] = candidate;
                    parent[ni] = current;
                    open.push({candidate + octile(n, to), index(n)});
                }
            });
    }
    if (parent[static_cast<size_t>(index(to))] < 0 && !(from == to))
        return {};
    std::vector<Cell> cellsOnPath;
    for (int i = index(to); i >= 0; i = parent[static_cast<size_t>(i)])
        cellsOnPath.push_back(Cell{i % m_desc.width, i / m_desc.width});
    std::reverse(cellsOnPath.begin(), cellsOnPath.end());
    return cellsOnPath;
}

std::vector<float> GridPlanner::costsFrom(Cell from) const
{
    std::vector<float> cost(m_penalty.size(), infinity);
    if (!isOpen(from))
        return cost;
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    cost[static_cast<size_t>(index(from))] = 0.0f;
    open.push({0.0f, index(from)});
    while (!open.empty()) {
        const auto [known, current] = open.top();
        open.pop();
        if (known > cost[static_cast<size_t>(current)])
            continue;
        const Cell c{current % m_desc.width, current / m_desc.width};
        forEachStep(
            c, [this](Cell cell) { return isOpen(cell); },
            [&, known = known](Cell n) {
                const float candidate = known + stepCost(c, n);
                if (candidate < cost[static_cast<size_t>(index(n))]) {
                    cost[static_cast<size_t>(index(n))] = candidate;
                    open.push({candidate, index(n)});
                }
            });
    }
    return cost;
}

bool GridPlanner::straightLineClear(b2Vec2 a, b2Vec2 b, float need) const
{
    const float length = (b - a).Length();
    const int samples = std::max(1, static_cast<int>(std::ceil(length / 0.1f)));
    for (int i = 0; i <= samples; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(samples);
        if (shelfClearance(m_desc, a + t * (b - a)) < need)
            return false;
    }
    return true;
}

std::vector<b2Vec2> GridPlanner::smooth(b2Vec2 start, const std::vector<Cell>& cells) const
{
    std::vector<b2Vec2> points;
    std::vector<float> clearance;
    points.push_back(start);
    clearance.push_back(shelfClearance(m_desc, start));
    for (size_t i = 1; i < cells.size(); ++i) {
        points.push_back(centreOf(cells[i]));
        clearance.push_back(m_clearance[static_cast<size_t>(index(cells[i]))]);
    }
    if (cells.size() == 1)
        points.push_back(centreOf(cells[0]));

    std::vector<b2Vec2> line{points.front()};
    size_t from = 0;
    while (from + 1 < points.size()) {
        size_t to = from + 1;
        for (size_t j = points.size() - 1; j > from + 1; --j) {
            const float need =
                std::min(wantedClearance, *std::min_element(clearance.begin() + static_cast<long>(from),
                                                            clearance.begin() + static_cast<long>(j) + 1)) -
                0.02f;
            if (straightLineClear(points[from], points[j], need)) {
                to = j;
                break;
            }
        }
        line.push_back(points[to]);
        from = to;
    }
    return line;
}

float orderCost(const std::vector<std::vector<float>>& cost, const std::vector<int>& order)
{
    float total = 0.0f;
    int at = 0;
    for (const int next : order) {
        total += cost[static_cast<size_t>(at)][static_cast<size_t>(next)];
        at = next;
    }
    return total;
}

namespace {

// Nearest neighbour from point 0, except that the first point visited is `first`.
std::vector<int> greedyOrder(const std::vector<std::vector<float>>& cost, int first)
{
    const int n = static_cast<int>(cost.size()) - 1;
    std::vector<int> order{first};
    std::vector<bool> visited(cost.size(), false);
    visited[static_cast<size_t>(first)] = true;
    for (int at = first; static_cast<int>(order.size()) < n;) {
        int best = -1;
        for (int j = 1; j <= n; ++j)
            if (!visited[static_cast<size_t>(j)] &&
                (best < 0 || cost[static_cast<size_t>(at)][static_cast<size_t>(j)] <
                                 cost[static_cast<size_t>(at)][static_cast<size_t>(best)]))
                best = j;
        visited[static_cast<size_t>(best)] = true;
        order.push_back(best);
        at = best;
    }
    return order;
}

// 2-opt and or-opt moves until none helps.
std::vector<int> improveOrder(const std::vector<std::vector<float>>& cost, std::vector<int> order)
{
    float current = orderCost(cost, order);
    for (bool improved = true; improved;) {
        improved = false;
        for (size_t i = 0; i < order.size(); ++i) {
            for (size_t j = i + 1; j < order.size(); ++j) {
                std::vector<int> candidate = order;
                std::reverse(candidate.begin() + static_cast<long>(i),
                             candidate.begin() + static_cast<long>(j) + 1);
                const float c = orderCost(cost, candidate);
                if (c < current - 1e-4f) {
                    order = std::move(candidate);
                    current = c;
                    improved = true;
                }
            }
        }
        // Or-opt: a run of one to three points, either way round, moved elsewhere.
        for (size_t length = 1; length <= 3; ++length) {
            for (size_t i = 0; i + length <= order.size(); ++i) {
                for (size_t j = 0; j + length <= order.size(); ++j) {
                    if (i == j)
                        continue;
                    for (const bool reversed : {false, true}) {
                        std::vector<int> candidate = order;
                        std::vector<int> run(candidate.begin() + static_cast<long>(i),
                                             candidate.begin() + static_cast<long>(i + length));
                        if (reversed)
                            std::reverse(run.begin(), run.end());
                        candidate.erase(candidate.begin() + static_cast<long>(i),
                                        candidate.begin() + static_cast<long>(i + length));
                        candidate.insert(candidate.begin() + static_cast<long>(j), run.begin(), run.end());
                        const float c = orderCost(cost, candidate);
                        if (c < current - 1e-4f) {
                            order = std::move(candidate);
                            current = c;
                            improved = true;
                        }
                    }
                }
            }
        }
    }
    return order;
}

}  // namespace

std::vector<int> planVisitOrder(const std::vector<std::vector<float>>& cost)
{
    // Local search from each greedy order (one per choice of first point); the cheapest wins,
    // the earliest of equals.
    std::vector<int> best;
    float bestCost = infinity;
    for (int first = 1; first < static_cast<int>(cost.size()); ++first) {
        std::vector<int> order = improveOrder(cost, greedyOrder(cost, first));
        const float c = orderCost(cost, order);
        if (c < bestCost - 1e-4f) {
            bestCost = c;
            best = std::move(order);
        }
    }
    return best;
}

Autopilot::Autopilot(const World& world) : m_desc(world.desc()), m_planner(world.desc())
{
    for (const auto& slot : world.items())
        m_itemCells.push_back(
            slot ? Cell{static_cast<int>(std::floor(slot->x)), static_cast<int>(std::floor(slot->y))}
                 : Cell{-1, -1});

    // Visit order over path costs: point 0 is the cart, point k is slot k - 1.
    std::vector<Cell> points{m_planner.nearestOpenCell(world.cart().body().GetPosition())};
    std::vector<int> slots;
    for (size_t s = 0; s < m_itemCells.size(); ++s) {
        if (world.items()[s] && m_planner.isOpen(m_itemCells[s])) {
            points.push_back(m_itemCells[s]);
            slots.push_back(static_cast<int>(s));
        }
    }
    std::vector<std::vector<float>> cost(points.size(), std::vector<float>(points.size(), 0.0f));
    for (size_t i = 0; i < points.size(); ++i) {
        const std::vector<float> from = m_planner.costsFrom(points[i]);
        for (size_t j = 0; j < points.size(); ++j)
            cost[i][j] = from[static_cast<size_t>(points[j].y * m_desc.width + points[j].x)];
    }
    for (const int point : planVisitOrder(cost))
        m_order.push_back(slots[static_cast<size_t>(point - 1)]);
}

void Autopilot::appendLeg()
{
    const size_t k = m_next + m_legEnds.size();
    if (k >= m_order.size())
        return;
    const b2Vec2 start = m_route.back();
    const Cell goal = m_itemCells[static_cast<size_t>(m_order[k])];
    const std::vector<Cell> cells = m_planner.path(m_planner.nearestOpenCell(start), goal);
    if (cells.empty())
        return;
    const std::vector<b2Vec2> leg = m_planner.smooth(start, cells);
    m_route.insert(m_route.end(), leg.begin() + 1, leg.end());
    m_legEnds.push_back(m_route.size() - 1);
}

void Autopilot::planRoute(const World& world)
{
    ++m_routesPlanned;
    m_route = {world.cart().body().GetPosition()};
    m_legEnds.clear();
    m_segment = 0;
    m_needRoute = false;
    for (size_t k = 0; k < routeLegs; ++k)
        appendLeg();
    if (m_route.size() < 2)
        m_route.push_back(m_route.back());
    m_bestRemaining = infinity;
    m_sinceProgress = 0.0f;
}

void Autopilot::takeLeg(const World& world)
{
    // The item the route was heading for is gone. Drop its stretch of route when the cart can
    // head straight for the point after it, and plan one more leg at the far end.
    const b2Vec2 p = world.cart().body().GetPosition();
    const size_t itemVertex = m_legEnds.front();
    m_legEnds.erase(m_legEnds.begin());
    if (itemVertex + 1 < m_route.size() && m_segment < itemVertex) {
        const b2Vec2 after = m_route[itemVertex + 1];
        const float need = std::min(wantedClearance, shelfClearance(m_desc, p)) - 0.02f;
        if (m_planner.straightLineClear(p, after, need)) {
            m_route.erase(m_route.begin(), m_route.begin() + static_cast<long>(itemVertex));
            m_route.front() = p;
            for (size_t& end : m_legEnds)
                end -= itemVertex;
            m_segment = 0;
        }
    }
    appendLeg();
    if (m_route.size() < 2)
        m_route.push_back(m_route.back());
    m_segment = std::min(m_segment, m_route.size() - 2);
    m_bestRemaining = infinity;
    m_sinceProgress = 0.0f;
}

void Autopilot::followTargets(const World& world)
{
    // Items go in the planned order; one taken on the way to another is simply skipped.
    const size_t before = m_next;
    while (m_next < m_order.size() && !world.items()[static_cast<size_t>(m_order[m_next])])
        ++m_next;
    if (m_next == before || m_needRoute)
        return;
    if (m_next == before + 1 && !m_legEnds.empty())
        takeLeg(world);
    else
        m_needRoute = true;
}

CartControls Autopilot::holdPushes(const Cart& cart, const b2Vec2 wanted[2], float dt) const
{
    // For each push component pick the key (back, none, forward) whose ramped result lands
    // nearest to the push wanted; ties go to the lighter touch.
    CartControls controls{};
    for (int h = 0; h < 2; ++h) {
        const b2Vec2 push = cart.hands()[h].push;
        const float current[2] = {push.x, push.y};
        const float target[2] = {wanted[h].x, wanted[h].y};
        const float limit[2] = {forwardPushLimit, lateralPushLimit};
        for (int axis = 0; axis < 2; ++axis) {
            int bestDirection = 0;
            float bestError = std::fabs(rampPush(current[axis], 0, limit[axis], dt) - target[axis]);
            for (const int direction : {-1, +1}) {
                const float error =
                    std::fabs(rampPush(current[axis], direction, limit[axis], dt) - target[axis]);
                if (error < bestError - 1e-6f) {
                    bestError = error;
                    bestDirection = direction;
                }
            }
            const int negative = 4 * h + 2 * axis;
            controls[static_cast<size_t>(negative)] = bestDirection < 0;
            controls[static_cast<size_t>(negative + 1)] = bestDirection > 0;
        }
    }
    return controls;
}

CartControls Autopilot::steer(const World& world, float dt)
{
    const Cart& cart = world.cart();
    const b2Body& body = cart.body();
    followTargets(world);
    if (m_next >= m_order.size())
        return CartControls{};

    const b2Vec2 p = body.GetPosition();
    const b2Vec2 v = body.GetLinearVelocity();
    const float heading = body.GetAngle();

    b2Vec2 wantedVelocity(0.0f, 0.0f);
    float wantedHeading = heading;

    if (m_backOffLeft > 0.0f) {
        m_backOffLeft -= dt;
        wantedVelocity = backOffSpeed * m_backOffDirection;
        if (m_backOffLeft <= 0.0f)
            m_needRoute = true;
    } else {
        if (m_needRoute)
            planRoute(world);

        // Where along the route the cart is: the nearest point of the current segment,
        // moving on once it is past the segment's end.
        b2Vec2 nearest = m_route[m_segment];
        float t = 0.0f;
        for (;;) {
            const b2Vec2 a = m_route[m_segment];
            const b2Vec2 b = m_route[m_segment + 1];
            const float lengthSquared = (b - a).LengthSquared();
            t = lengthSquared > 0.0f ? b2Dot(p - a, b - a) / lengthSquared : 1.0f;
            if (t >= 1.0f && m_segment + 2 < m_route.size()) {
                ++m_segment;
                continue;
            }
            nearest = a + std::clamp(t, 0.0f, 1.0f) * (b - a);
            break;
        }
        if ((p - nearest).Length() > offRouteDistance) {
            planRoute(world);
            return steer(world, dt);
        }

        // The carrot: a point a little way further along the route.
        float reach = lookAhead + lookAheadPerSpeed * v.Length();
        b2Vec2 carrot = nearest;
        b2Vec2 walk = nearest;
        for (size_t k = m_segment + 1; k < m_route.size(); ++k) {
            const float length = (m_route[k] - walk).Length();
            if (length >= reach) {
                carrot = walk + (reach / length) * (m_route[k] - walk);
                break;
            }
            reach -= length;
            walk = m_route[k];
            carrot = walk;
        }

        // The speed: no faster than lets it brake down for every turn ahead, and to a stop at
        // the route's end.
        float speed = cruiseSpeed;
        float distance = (m_route[m_segment + 1] - nearest).Length();
        for (size_t k = m_segment + 1; k < m_route.size(); ++k) {
            const float through =
                k + 1 < m_route.size()
                    ? speedThroughTurn(turnAngle(m_route[k - 1], m_route[k], m_route[k + 1]))
                    : 0.0f;
            speed = std::min(speed, std::sqrt(through * through + 2.0f * plannedDeceleration * distance));
            if (k + 1 < m_route.size())
                distance += (m_route[k + 1] - m_route[k]).Length();
        }
        const float remaining = distance;
        speed = std::max(speed, 0.8f);  // the route's end is an item to drive into, not a stop

        const b2Vec2 toCarrot = carrot - p;
        if (toCarrot.Length() > 1e-3f) {
            wantedVelocity = (speed / toCarrot.Length()) * toCarrot;
            wantedHeading = std::atan2(toCarrot.y, toCarrot.x);
            // The cart has no grip: it goes where it is pushed, and it pushes hardest along its
            // own axis. So turn the axis, a little, toward the push the velocity error needs
            // (forward or backward, whichever is nearer the way to go).
            const b2Vec2 need = wantedVelocity - v;
            if (need.Length() > 0.05f) {
                float offset = wrapAngle(std::atan2(need.y, need.x) - wantedHeading);
                if (offset > 0.5f * pi)
                    offset -= pi;
                else if (offset < -0.5f * pi)
                    offset += pi;
                wantedHeading += std::clamp(offset, -maxHeadingOffset, maxHeadingOffset);
            }
        }

        // Stuck against something: back away from the nearest shelf, then plan again.
        if (remaining < m_bestRemaining - 0.25f) {
            m_bestRemaining = remaining;
            m_sinceProgress = 0.0f;
        } else {
            m_sinceProgress += dt;
        }
        if (m_sinceProgress > stuckAfter) {
            ++m_recoveries;
            m_backOffLeft = backOffTime;
            b2Vec2 away(-std::cos(heading), -std::sin(heading));
            float closest = infinity;
            const int cx = static_cast<int>(std::floor(p.x));
            const int cy = static_cast<int>(std::floor(p.y));
            for (int y = cy - 2; y <= cy + 2; ++y)
                for (int x = cx - 2; x <= cx + 2; ++x) {
                    if (!isShelf(m_desc, x, y))
                        continue;
                    const b2Vec2 q(std::clamp(p.x, static_cast<float>(x), static_cast<float>(x + 1)),
                                   std::clamp(p.y, static_cast<float>(y), static_cast<float>(y + 1)));
                    if ((p - q).Length() < closest && (p - q).Length() > 1e-4f) {
                        closest = (p - q).Length();
                        away = (1.0f / closest) * (p - q);
                    }
                }
            m_backOffDirection = away;
            wantedVelocity = backOffSpeed * away;
            wantedHeading = heading;
        }
    }

    // The force and turning moment that would bring velocity and heading where they should be.
    const float mass = body.GetMass();
    const float inertia = body.GetInertia();
    const b2Vec2 force = mass * (velocityGain * (wantedVelocity - v) + body.GetLinearDamping() * v);
    const float moment = inertia * (headingGain * wrapAngle(wantedHeading - heading) -
                                    turnDamping * body.GetAngularVelocity());

    // Shared out between the hands: both push sideways alike; the difference between their
    // forward pushes gives the moment, including the one the sideways push brings.
    const b2Vec2 local = body.GetLocalVector(force);
    const float side =
        std::clamp(local.y, -2.0f * lateralShare * lateralPushLimit, 2.0f * lateralShare * lateralPushLimit);
    const float difference = std::clamp((moment + gripX * side) / gripY, -2.0f, 2.0f);
    const float headroom = 2.0f - std::fabs(difference);
    const float along = std::clamp(local.x, -headroom, headroom);
    const b2Vec2 wanted[2] = {b2Vec2(0.5f * (along - difference), 0.5f * side),
                              b2Vec2(0.5f * (along + difference), 0.5f * side)};
    return holdPushes(cart, wanted, dt);
}

}  // namespace sim
