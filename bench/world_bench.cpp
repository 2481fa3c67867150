// The rules' costs: one step of the built-in store with the cart driving, and building it.

#include <benchmark/benchmark.h>

#include "world/level.h"
#include "world/world.h"

namespace {

void BM_WorldStep(benchmark::State& state)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    // Drive a wide loop so that the cart keeps moving and meets shelves now and then.
    int frame = 0;
    for (auto _ : state) {
        CartControls& controls = world.cart().controls;
        controls = CartControls{};
        controls[LeftForward] = true;
        controls[RightForward] = (frame / 90) % 3 != 0;
        world.step(1.0f / 60.0f);
        ++frame;
    }
    benchmark::DoNotOptimize(world.cart().body().GetPosition());
}

void BM_WorldConstruction(benchmark::State& state)
{
    const LevelDesc desc = builtinLevel();
    for (auto _ : state) {
        World world(desc);
        benchmark::DoNotOptimize(world.itemsLeft());
    }
}

}  // namespace

BENCHMARK(BM_WorldStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorldConstruction)->Unit(benchmark::kMicrosecond);
