// Frame benchmarks: the real per-frame drawing in hidden windows of two sizes, swap interval
// 0, glFinish before the clock stops. Needs a display (Xvfb with llvmpipe serves).

#include <benchmark/benchmark.h>

#include <FTGL/ftgl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "bench/bench_context.h"
#include "main/screen_layout.h"
#include "main/screens.h"
#include "main/shell.h"
#include "record/ghost.h"
#include "record/run_record.h"
#include "render/camera.h"
#include "render/gl.h"
#include "world/level.h"
#include "world/world.h"

namespace {

// The built-in store a moment into a run: the cart rolling, the items spun a little.
struct Scene {
    LevelDesc desc = builtinLevel();
    World world{desc};
    TopDownCamera overhead{world.cart().body()};
    FollowCamera chase{world.cart().body()};

    Scene()
    {
        world.cart().controls[LeftForward] = true;
        world.cart().controls[RightForward] = true;
        for (int i = 0; i < 30; ++i) {
            world.step(1.0f / 60.0f);
            chase.update(1.0f / 60.0f);
            overhead.update(1.0f / 60.0f);
        }
    }
};

Scene& scene()
{
    static Scene* shared = new Scene;
    return *shared;
}

// The autopilot's run as the player's record, its ghost as far into its run as the scene's cart.
Ghost& sceneGhost()
{
    static const RunRecord* record = [] {
        std::ifstream in(SHELVOY_BENCH_RECORD, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
        std::optional<RunRecord> read = decodeRecord(bytes.data(), bytes.size());
        if (!read)
            throw std::runtime_error("no record at " SHELVOY_BENCH_RECORD);
        return new RunRecord(std::move(*read));
    }();
    static Ghost* ghost = new Ghost(*record, scene().desc);
    ghost->follow(scene().world.runClock());
    return *ghost;
}

void finishFrame(GLFWwindow* window)
{
    glfwSwapBuffers(window);
    glFinish();
}

// Frames drawn before the clock starts, so that the renderer's first-use costs (shader
// variants, glyph geometry) are not charged to whichever benchmark happens to run first.
template <class Draw> void warmUp(GLFWwindow* window, Draw&& draw)
{
    for (int i = 0; i < 20; ++i) {
        draw();
        finishFrame(window);
    }
}

// The warm-up, then the timed frames: each drawn, swapped and finished.
template <class Draw> void timeFrames(benchmark::State& state, GLFWwindow* window, Draw&& draw)
{
    warmUp(window, draw);
    for (auto _ : state) {
        draw();
        finishFrame(window);
    }
}

void BM_BareFrame(benchmark::State& state)
{
    GLFWwindow* window = benchWindow(static_cast<int>(state.range(0)));
    const auto draw = [] {
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    };
    timeFrames(state, window, draw);
}

enum View { Chase, Overhead, ChaseWithOverlay, ChaseWithGhost, OverheadWithGhost };

void BM_PlayFrame(benchmark::State& state)
{
    GLFWwindow* window = benchWindow(static_cast<int>(state.range(0)));
    Scene& s = scene();
    const View view = static_cast<View>(state.range(1));
    const bool overhead = view == Overhead || view == OverheadWithGhost;
    Camera& camera = overhead ? static_cast<Camera&>(s.overhead) : static_cast<Camera&>(s.chase);
    debugOverlay = view == ChaseWithOverlay;
    raceGhost = view == ChaseWithGhost || view == OverheadWithGhost ? &sceneGhost() : nullptr;
    const auto draw = [&] { renderFrame(s.world, camera); };
    timeFrames(state, window, draw);
    debugOverlay = false;
    raceGhost = nullptr;
}

void BM_CountdownFrame(benchmark::State& state)
{
    GLFWwindow* window = benchWindow(static_cast<int>(state.range(0)));
    Scene& s = scene();
    ScreenFonts fonts = loadScreenFonts(countdownFaceSize(windowSize.height));
    const auto draw = [&] {
        renderFrame(s.world, s.chase);
        drawCountdownWord(fonts, "3", countdownScale(0.5));
    };
    timeFrames(state, window, draw);
}

void BM_ResultsFrame(benchmark::State& state)
{
    GLFWwindow* window = benchWindow(static_cast<int>(state.range(0)));
    Scene& s = scene();
    ScreenFonts fonts = loadScreenFonts(resultsFaceSize(windowSize.width));
    const std::string label = resultsLabel(s.world.runTimeText());
    const auto draw = [&] {
        renderFrame(s.world, s.chase);
        drawResultsOverlay(fonts, label);
    };
    timeFrames(state, window, draw);
}

// The two counter lines alone, in the pixel projection renderFrame leaves.
void BM_Counters(benchmark::State& state)
{
    GLFWwindow* window = benchWindow(static_cast<int>(state.range(0)));
    Scene& s = scene();
    warmUp(window, [&] { renderFrame(s.world, s.chase); });
    renderFrame(s.world, s.chase);
    for (auto _ : state) {
        s.world.renderCounters();
        glFinish();
    }
}

}  // namespace

BENCHMARK(BM_BareFrame)->Arg(0)->Arg(1)->ArgNames({"size"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayFrame)
    ->ArgsProduct({{0, 1}, {Chase, Overhead, ChaseWithOverlay, ChaseWithGhost, OverheadWithGhost}})
    ->ArgNames({"size", "view"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountdownFrame)->Arg(0)->Arg(1)->ArgNames({"size"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsFrame)->Arg(0)->Arg(1)->ArgNames({"size"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Counters)->Arg(0)->Arg(1)->ArgNames({"size"})->Unit(benchmark::kMillisecond);
