// The rules' costs: one step of the built-in store with the cart driving, building it, and
// reading and checking the player's record as the game does at start (the autopilot's run).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "record/record_keeper.h"
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

void BM_RecordLoadAndCheck(benchmark::State& state)
{
    const LevelDesc desc = builtinLevel();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "shelvoy-record-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SHELVOY_BENCH_RECORD, folder / recordFileName,
                               std::filesystem::copy_options::overwrite_existing);
    for (auto _ : state) {
        RecordKeeper keeper(folder.string(), desc);
        if (!keeper.best())
            state.SkipWithError("the record was not believed");
        benchmark::DoNotOptimize(keeper.best());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_WorldStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorldConstruction)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordLoadAndCheck)->Unit(benchmark::kMillisecond);
