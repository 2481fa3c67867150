// The soak: the built-in store driven by random flags for a long stretch of game time, with
// every frame checked: six drives of ten minutes of game time each by default (well under a
// second of wall time), and a long soak of 30 minutes per drive with
//
//     SHELVOY_SOAK_MINUTES=30 build/tests/shelvoy_sim_tests --gtest_filter='Soak*'
//
// which gives each drive that many minutes of game time. The drives are seeded and the
// random numbers taken from std::mt19937's raw output, so a failure names a seed and a frame
// that reproduce it exactly.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/sim_checks.h"
#include "support/sim_random_drive.h"

namespace {

constexpr double defaultMinutes = 10.0;
// The physics keeps the cart's box out of the shelves up to a hundredth or so.
constexpr float allowedCornerDepth = 0.05f;

double soakMinutes()
{
    const char* value = std::getenv("SHELVOY_SOAK_MINUTES");
    if (!value || !*value)
        return defaultMinutes;
    const double minutes = std::strtod(value, nullptr);
    return minutes > 0.0 ? minutes : defaultMinutes;
}

struct Drive {
    std::uint32_t seed;
    float fixedDt;  // 0: random frame times
};

// Drives the built-in store for `minutes` of game time; returns what went wrong first, with
// the seed, the frame and the state, or an empty string.
std::string soak(const Drive& drive, double minutes, long* framesRun)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    sim::RandomDrive random(drive.seed, drive.fixedDt);
    const double seconds = minutes * 60.0;
    int itemsBefore = world.itemsLeft();
    double clockBefore = world.runClock();
    long frame = 0;
    while (world.runClock() < seconds) {
        const sim::Frame input = random.next();
        world.cart().controls = input.controls;
        world.step(input.dt);
        ++frame;

        std::string problem;
        const b2Body& body = world.cart().body();
        char text[64];
        if (!sim::bodyIsFinite(body)) {
            problem = "the cart's state is not finite";
        } else if (sim::centreInShelf(desc, body.GetPosition())) {
            problem = "the cart's centre is in a shelf or off the map";
        } else if (const float depth = sim::deepestCornerInShelf(desc, body); depth > allowedCornerDepth) {
            std::snprintf(text, sizeof text, "a corner of the cart is %.3f deep in a shelf",
                          static_cast<double>(depth));
            problem = text;
        } else if (world.itemsLeft() > itemsBefore || world.itemsLeft() < 0) {
            problem = "items left went from " + std::to_string(itemsBefore) + " to " +
                      std::to_string(world.itemsLeft());
        } else if (world.itemsLeft() != sim::slotsHeld(world)) {
            problem = "items left " + std::to_string(world.itemsLeft()) + " but " +
                      std::to_string(sim::slotsHeld(world)) + " slots hold an item";
        } else if (const std::string push = sim::pushOutOfLimits(world.cart()); !push.empty()) {
            problem = push;
        } else if (world.runClock() != clockBefore + static_cast<double>(input.dt)) {
            problem = "the run clock is not the sum of the frame times";
        }
        if (!problem.empty()) {
            *framesRun = frame;
            return "seed " + std::to_string(drive.seed) + ", frame " + std::to_string(frame) + ": " +
                   problem + " (" + sim::describe(world) + ")";
        }
        itemsBefore = world.itemsLeft();
        clockBefore = world.runClock();
    }
    *framesRun = frame;
    return "";
}

}  // namespace

TEST(Soak, RandomDrivingKeepsTheCartOnTheFloorAndItsStateSound)
{
    const double minutes = soakMinutes();
    // Random frame times, and two drives at the longest frame, where a step moves furthest.
    const Drive drives[] = {
        {1u, 0.0f}, {2u, 0.0f}, {3u, 0.0f}, {4u, 0.0f}, {5u, sim::maxFrameTime}, {6u, sim::maxFrameTime}};
    for (const Drive& drive : drives) {
        long frames = 0;
        EXPECT_EQ(soak(drive, minutes, &frames), "");
        std::printf("soak: seed %u, %.1f min of game time, %ld frames\n", static_cast<unsigned>(drive.seed),
                    minutes, frames);
    }
}
