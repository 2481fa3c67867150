// A failure is reported twice, one line on stderr and a modal "Inconceivable!" box, and the
// game exits with code 1 once the box is dismissed (at once when there is no display).

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "support/game_run.h"
#include "support/temp_dir.h"

using namespace e2e;
namespace fs = std::filesystem;

TEST(Failures, MissingFontShowsTheErrorBoxThenExitsWithOne)
{
    const TimeLimit limit(20);
    // The game alone in a directory of its own, run from another: no Receipt.ttf anywhere it
    // looks (the working directory, beside the executable, the installed data directory). The
    // directory is named in Cyrillic and in Japanese ("Игра Иван/ゲーム"): every character of it
    // reaches the report.
    const TempDir root;
    const fs::path bin = root.path() /
                         fs::u8path("\xd0\x98\xd0\xb3\xd1\x80\xd0\xb0 \xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd") /
                         fs::u8path("\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0");
    const fs::path work = root.path() / "work";
    fs::create_directories(bin);
    fs::create_directories(work);
    const fs::path game = bin / fs::path(gamePath()).filename();
    fs::copy_file(gamePath(), game);
    GameOptions options;
    options.program = game.string();
    options.workingDirectory = work.string();
    GameRun run(options);

    const Window box = run.x.waitForWindow(errorBoxTitle, Seconds(5.0));
    ASSERT_NE(box, None) << "no window titled \"" << errorBoxTitle << "\"\n" << run.game.stderrText();
    // One line naming the font and the places tried, the working directory and the game's own first.
    const std::string report = run.game.stderrText();
    const std::string start = "Inconceivable!: Cannot load font \"Receipt.ttf\" (tried Receipt.ttf, " +
                              pathAsTheGameSeesIt(bin / "Receipt.ttf");
    EXPECT_EQ(report.compare(0, start.size(), start), 0) << report;
    EXPECT_EQ(report.substr(report.size() < 2 ? 0 : report.size() - 2), ")\n") << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    // Drawn: a box just mapped may still be all one colour (black under wine).
    Image shot = run.x.screenshot(box);
    const auto blank = [](const Image& image) {
        return countNear(image, image.whole(), image.at(0, 0), 8) == image.width * image.height;
    };
    for (int tries = 0; blank(shot) && tries < 50; ++tries) {
        waitSeconds(0.1);
        shot = run.x.screenshot(box);
    }
    EXPECT_FALSE(blank(shot)) << "the box shows nothing";
    saveScreenshot(shot, "error-box.png");

    // The box is modal: the game waits for it.
    waitSeconds(0.3);
    ASSERT_TRUE(run.game.running()) << "the game did not wait for the box";
    run.x.focus(box);
    run.x.tapKey(XK_Return);
    const std::optional<int> status = run.game.waitFor(Seconds(2.0));
    ASSERT_TRUE(status.has_value()) << "Return did not dismiss the box";
    EXPECT_EQ(*status, 1);
}

TEST(Failures, AFifoForAFontIsRefusedBeforeAnyWindowOpens)
{
    const TimeLimit limit(20);
    // Opening a FIFO for reading would wait for a writer that never comes.
    const TempDir work;
    ASSERT_EQ(mkfifo((work / "Receipt.ttf").c_str(), 0644), 0);
    GameOptions options;
    options.workingDirectory = work.path().string();
    GameRun run(options);

    const Window box = run.x.waitForWindow(errorBoxTitle, Seconds(10.0));
    ASSERT_NE(box, None) << "no error box\n" << run.game.stderrText();
    EXPECT_EQ(run.game.stderrText(),
              "Inconceivable!: Cannot load font \"Receipt.ttf\" from Receipt.ttf: is not a regular file\n");
    EXPECT_EQ(run.x.waitForWindow(gameTitle, Seconds(0.0)), None) << "the game window opened";
    run.x.focus(box);
    run.x.tapKey(XK_Return);
    EXPECT_EQ(run.game.waitFor(Seconds(5.0)), 1);
}

TEST(Failures, NoDisplayReportsGlfwInitAndExitsWithOne)
{
    const TimeLimit limit(10);
    Launch launch;
    launch.program = gamePath();
    launch.workingDirectory = runDirectory();
    launch.environment = environmentWith("DISPLAY", {});
    const Clock::time_point start = Clock::now();
    std::string errors;
    const std::optional<int> status = runToEnd(launch, Seconds(5.0), &errors);
    ASSERT_TRUE(status.has_value()) << "still running after 5 s without a display";
    EXPECT_EQ(*status, 1);
    EXPECT_LT(Seconds(Clock::now() - start).count(), 2.0);
    EXPECT_TRUE(std::regex_match(
        errors,
        std::regex(R"(Inconceivable!: GLFW error: src/main/shell\.cpp:[0-9]+: glfwInit failed \(.+\)\n)")))
        << errors;
}
