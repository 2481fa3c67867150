// libFuzzer entry for the World: an arbitrary map and start pose within the level
// descriptor's contract, then arbitrary driving flags and frame times, checked step by step.
//
// Input layout (missing bytes read as 0; map bytes past the end as open floor ' '):
//   byte 0          map width, taken modulo 65 (0..64)
//   byte 1          map height, modulo 65
//   bytes 2-3, 4-5  start x and y as 16-bit fractions (little endian) of the width and height,
//                   so the start lies inside the map (at 0 for an empty one)
//   bytes 6-7       start angle: a signed 16-bit value / 1024, radians (about +-32)
//   next w*h bytes  the map characters row by row, top row first, any byte values
//   then pairs      one per step, at most maxSteps: a flags byte (bit i is CartControls[i])
//                   and a frame time byte b (dt = b / 255 of 1/30 s, so exactly 0 to 1/30)
//
// Checked after every step: the cart's position, angle and velocities are finite; the pushes
// are within their limits; items left never rises, never goes below 0 and matches the
// occupied slots; the run clock is the sum of the frame times. When the cart starts clear
// of every shelf, its centre must also never end up inside a shelf cell, nor any corner of
// its box deep inside one. A broken check aborts, which libFuzzer reports as a crash.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/sim_checks.h"
#include "world/level.h"
#include "world/world.h"

namespace {

constexpr int maxSide = 64;
constexpr size_t maxSteps = 400;
// Contacts keep the box within a few hundredths of a shelf; a tenth is a box going through.
constexpr float allowedCornerDepth = 0.1f;

class Input {
public:
    Input(const std::uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::uint16_t word()
    {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    bool empty() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

[[noreturn]] void fail(const World& world, size_t step, const std::string& what)
{
    std::fprintf(stderr, "world fuzz: step %zu: %s (%s)\n", step, what.c_str(), sim::describe(world).c_str());
    std::abort();
}

// True when the cart's box at the start pose, with a margin for the physics' skin, touches
// no shelf cell.
bool startsClear(const LevelDesc& desc)
{
    const float c = std::cos(desc.startAngle);
    const float s = std::sin(desc.startAngle);
    const float hx = 0.7f + 0.05f;
    const float hy = 0.4f + 0.05f;
    const float ex = std::fabs(c) * hx + std::fabs(s) * hy;  // the box's bounding half extents
    const float ey = std::fabs(s) * hx + std::fabs(c) * hy;
    for (int y = static_cast<int>(std::floor(desc.startY - ey));
         y <= static_cast<int>(std::floor(desc.startY + ey)); ++y)
        for (int x = static_cast<int>(std::floor(desc.startX - ex));
             x <= static_cast<int>(std::floor(desc.startX + ex)); ++x)
            if (sim::isShelf(desc, x, y, false))
                return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    Input in(data, size);
    LevelDesc desc;
    desc.width = in.byte() % (maxSide + 1);
    desc.height = in.byte() % (maxSide + 1);
    desc.startX = static_cast<float>(in.word()) / 65536.0f * static_cast<float>(desc.width);
    desc.startY = static_cast<float>(in.word()) / 65536.0f * static_cast<float>(desc.height);
    desc.startAngle = static_cast<float>(static_cast<std::int16_t>(in.word())) / 1024.0f;

    // Rows exactly `width` characters long, not terminated: the World may read no further.
    std::vector<std::vector<char>> text(static_cast<size_t>(desc.height));
    std::vector<const char*> rows;
    for (std::vector<char>& row : text) {
        row.resize(static_cast<size_t>(desc.width));
        for (char& cell : row)
            cell = in.empty() ? ' ' : static_cast<char>(in.byte());
        rows.push_back(row.data());
    }
    desc.rows = rows.data();
    const bool clearStart = startsClear(desc);

    World world(desc);
    int itemsBefore = world.itemsLeft();
    if (itemsBefore != sim::slotsHeld(world))
        fail(world, 0, "items left does not match the slots after construction");
    double clock = 0.0;
    for (size_t step = 1; step <= maxSteps && !in.empty(); ++step) {
        const std::uint8_t flags = in.byte();
        const float dt = static_cast<float>(in.byte()) / 255.0f * sim::maxFrameTime;
        for (size_t i = 0; i < 8; ++i)
            world.cart().controls[i] = ((flags >> i) & 1u) != 0;
        world.step(dt);
        clock += static_cast<double>(dt);

        const b2Body& body = world.cart().body();
        if (!sim::bodyIsFinite(body))
            fail(world, step, "the cart's state is not finite");
        if (const std::string push = sim::pushOutOfLimits(world.cart()); !push.empty())
            fail(world, step, push);
        if (world.itemsLeft() > itemsBefore || world.itemsLeft() < 0)
            fail(world, step,
                 "items left went from " + std::to_string(itemsBefore) + " to " +
                     std::to_string(world.itemsLeft()));
        if (world.itemsLeft() != sim::slotsHeld(world))
            fail(world, step, "items left does not match the slots");
        if (world.runClock() != clock)
            fail(world, step, "the run clock is not the sum of the frame times");
        if (clearStart) {
            const b2Vec2 p = body.GetPosition();
            const bool onMap = p.x >= 0.0f && p.y >= 0.0f && p.x < static_cast<float>(desc.width) &&
                               p.y < static_cast<float>(desc.height);
            if (onMap && sim::isShelf(desc, static_cast<int>(p.x), static_cast<int>(p.y)))
                fail(world, step, "the cart's centre went into a shelf");
            if (sim::deepestCornerInShelf(desc, body) > allowedCornerDepth)
                fail(world, step, "a corner of the cart went deep into a shelf");
        }
        itemsBefore = world.itemsLeft();
    }
    return 0;
}
