#include "world/world.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

constexpr int velocityIterations = 10;
constexpr int positionIterations = 10;
constexpr double spinRate = 100.0;  // degrees per second

}  // namespace

uintptr_t itemSensorTag(size_t slot) { return static_cast<uintptr_t>(slot) + 1; }

World::World(const LevelDesc& desc) : m_desc(desc), m_physics(b2Vec2(0.0f, 0.0f))
{
    m_physics.SetAllowSleeping(true);
    m_physics.SetDebugDraw(&m_debugDraw);
    m_physics.SetContactListener(&m_impacts);

    b2BodyDef groundDef;  // static, at the origin: its local coordinates are world coordinates
    m_ground = m_physics.CreateBody(&groundDef);

    // Column by column, bottom to top: items, sensors and shelves in one interleaved order.
    for (int x = 0; x < m_desc.width; ++x) {
        for (int y = 0; y < m_desc.height; ++y) {
            const char cell = cellAt(m_desc, x, y);
            const float cx = static_cast<float>(x) + 0.5f;
            const float cy = static_cast<float>(y) + 0.5f;
            if (cell == 'o') {
                m_items.push_back(std::make_unique<Item>(Item{cx, cy}));
                ++m_itemsLeft;
                b2CircleShape circle;
                circle.m_p.Set(cx, cy);
                circle.m_radius = 0.5f;
                b2FixtureDef sensor;
                sensor.shape = &circle;
                sensor.isSensor = true;
                sensor.friction = 0.2f;
                sensor.restitution = 0.0f;
                sensor.density = 0.0f;
                sensor.userData.pointer = itemSensorTag(m_items.size() - 1);
                m_ground->CreateFixture(&sensor);
            } else if (cell == 'x') {
                b2PolygonShape box;
                box.SetAsBox(0.5f, 0.5f, b2Vec2(cx, cy), 0.0f);
                m_ground->CreateFixture(&box, 0.0f);
            }
        }
    }

    m_cart = std::make_unique<Cart>(m_physics, m_desc.startX, m_desc.startY, m_desc.startAngle);
}

World::~World() = default;

void World::step(float dt)
{
    m_runClock = m_runClock + static_cast<double>(dt);
    m_cart->update(dt);
    m_impacts.hardest = 0.0f;
    m_physics.Step(dt, velocityIterations, positionIterations);
    const int itemsBefore = m_itemsLeft;
    collectItems();
    m_lastStep = StepReport{itemsBefore - m_itemsLeft, m_impacts.hardest};
    m_spinAngle = static_cast<float>(static_cast<double>(m_spinAngle) + static_cast<double>(dt) * spinRate);
}

void World::ImpactListener::PostSolve(b2Contact* /*contact*/, const b2ContactImpulse* impulse)
{
    // The cart is the only body that moves, and item sensors are never solved: every solved
    // contact is the cart against a shelf. A contact's strength is that of all its points.
    float total = 0.0f;
    for (int i = 0; i < impulse->count; ++i)
        total += impulse->normalImpulses[i];
    hardest = std::max(hardest, total);
}

void World::collectItems()
{
    for (b2Contact* contact = m_physics.GetContactList(); contact; contact = contact->GetNext()) {
        if (!contact->IsTouching())
            continue;
        // Item sensors are the only circles in the world; B wins when both are circles.
        b2Fixture* itemFixture = nullptr;
        if (contact->GetFixtureA()->GetShape()->GetType() == b2Shape::e_circle)
            itemFixture = contact->GetFixtureA();
        if (contact->GetFixtureB()->GetShape()->GetType() == b2Shape::e_circle)
            itemFixture = contact->GetFixtureB();
        if (!itemFixture)
            continue;

        const uintptr_t tag = itemFixture->GetUserData().pointer;
        if (tag == 0 || tag > m_items.size())
            continue;
        std::unique_ptr<Item>& slot = m_items[tag - 1];
        if (!slot)
            continue;  // picked up before: its sensor stays and keeps reporting contacts
        slot.reset();
        --m_itemsLeft;
    }
}

std::string formatRunTime(double seconds)
{
    // Truncation toward zero; the clock only counts up, but keep the conversion defined.
    if (!(seconds >= 0.0))
        seconds = 0.0;
    if (seconds > static_cast<double>(INT_MAX))
        seconds = static_cast<double>(INT_MAX);
    const int whole = static_cast<int>(seconds);
    const int minutes = whole / 60;
    const int secs = whole % 60;
    int millis = static_cast<int>((seconds - whole) * 1000.0);
    if (millis > 999)
        millis = 999;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%03d", minutes, secs, millis);
    return text;
}

std::string World::runTimeText() const { return formatRunTime(m_runClock); }
