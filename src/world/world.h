#pragma once

#include <box2d/box2d.h>

#include <memory>
#include <string>
#include <vector>

#include "cart/cart.h"
#include "render/b2debug.h"
#include "world/level.h"
#include "world/store_cells.h"

/// One collectible: the centre of its cell, units. Owned by the World until picked up.
struct Item {
    float x;
    float y;
};

/// What happened in one World::step, for whatever answers it (the shell's sound).
struct StepReport {
    int itemsTaken = 0;  ///< items picked up in the step
    /// The largest normal impulse between the cart and a shelf in the step (a contact's points
    /// together), mass units times units a second: an impact's strength; 0 without contact. Resting against a
    /// shelf it is the push of the hands over the step, a small fraction of a knock's.
    float hardestShelfImpulse = 0.0f;
};

/// Everything that lives in the store: the physics world with one static ground body
/// carrying every shelf box and item sensor, the items, the cart, the run clock and the
/// items' spin. Built once from a LevelDesc, before any window exists.
class World {
public:
    /// Builds the store from `desc`, which must outlive the World and stay unchanged.
    /// No validation: width and height >= 0, `height` rows of at least `width` characters.
    explicit World(const LevelDesc& desc);
    ~World();

    World(const World&) = delete;
    World& operator=(const World&) = delete;

    /// Items not yet picked up (the number of non-empty slots).
    int itemsLeft() const { return m_itemsLeft; }
    /// The player's cart; owned by the World.
    Cart& cart() { return *m_cart; }
    const Cart& cart() const { return *m_cart; }

    /// Advances the run by dt seconds: run clock, the cart's hand forces, one physics step,
    /// pickup of every item the cart touches, the items' spin.
    void step(float dt);
    /// The run clock as minutes:seconds.milliseconds ("%d:%02d.%03d").
    std::string runTimeText() const;

    /// What the latest step did; all zero before the first.
    const StepReport& lastStep() const { return m_lastStep; }

    /// Draws the lit store, the items and the cart through the current view; keeps what of the
    /// store the view needs for the next frame's, so that the lists it works out are not
    /// allocated again every frame.
    void render();
    /// Draws the items-left line and the run clock in window pixels.
    void renderCounters() const;
    /// Draws every fixture, bounding box, contact pair and body frame over the scene.
    void renderPhysicsDebug();

    /// Seconds of play so far, game time.
    double runClock() const { return m_runClock; }
    /// The items' spin about the vertical, degrees; never wrapped.
    float spinAngle() const { return m_spinAngle; }
    /// One slot per item cell in creation order; a picked-up item leaves its slot empty.
    const std::vector<std::unique_ptr<Item>>& items() const { return m_items; }
    /// The physics world, owned by the World.
    b2World& physics() { return m_physics; }
    const b2World& physics() const { return m_physics; }
    /// The static body that carries every shelf box and item sensor; owned by the physics world.
    const b2Body& ground() const { return *m_ground; }
    /// The level this World was built from.
    const LevelDesc& desc() const { return m_desc; }

private:
    // Reads the impulses of the physics solver's contacts; it only reads, so the physics are those
    // of a world without it.
    class ImpactListener : public b2ContactListener {
    public:
        void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;
        float hardest = 0.0f;  ///< since the step began
    };

    void collectItems();

    // Declared so that destruction runs: debug drawer, cart, physics world, items.
    const LevelDesc& m_desc;
    std::vector<std::unique_ptr<Item>> m_items;
    int m_itemsLeft = 0;
    StepReport m_lastStep;
    ImpactListener m_impacts;
    b2World m_physics;
    b2Body* m_ground = nullptr;
    std::unique_ptr<Cart> m_cart;
    double m_runClock = 0.0;
    float m_spinAngle = 0.0f;
    DebugDraw m_debugDraw;
    StoreCells m_storeCells;  // what of the store the last view drawn through needed
};

/// `seconds` of run time as "%d:%02d.%03d": whole minutes (no wrap into hours), seconds,
/// milliseconds, each truncated toward zero.
std::string formatRunTime(double seconds);

/// The user data an item sensor carries: its slot index + 1, so 0 never names an item.
uintptr_t itemSensorTag(size_t slot);
