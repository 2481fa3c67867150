// The game as a packager installs it: `cmake --install` into a staging folder, the installed
// tree and its metadata checked by the desktop's own validators, the staged game started from
// another directory, and the .deb that cpack builds.

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/game_run.h"

using namespace e2e;
namespace fs = std::filesystem;

extern char** environ;

namespace {

// The test's own environment with `extra` (NAME=value entries) in place of its own of those names.
std::vector<std::string> environmentWith(std::initializer_list<std::string> extra)
{
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& added : extra)
            replaced = replaced || entry.compare(0, added.find('=') + 1, added, 0, added.find('=') + 1) == 0;
        if (!replaced)
            entries.push_back(entry);
    }
    entries.insert(entries.end(), extra);
    return entries;
}

// Runs a shell command to its end; its standard output is folded into the captured stderr.
struct CommandResult {
    std::optional<int> status;
    std::string output;
};

CommandResult runCommand(const std::string& command, std::initializer_list<std::string> environment = {},
                         const std::string& directory = ".")
{
    Launch launch;
    launch.program = "/bin/sh";
    launch.arguments = {"-c", command + " 1>&2"};
    launch.workingDirectory = directory;
    launch.environment = environmentWith(environment);
    ChildProcess child(launch);
    CommandResult result;
    result.status = child.waitFor(Seconds(120.0));
    result.output = child.stderrText();
    return result;
}

std::string fileText(const fs::path& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path.string());
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The width and height in a PNG file's header, or nothing when the file is not a PNG.
std::optional<std::pair<unsigned, unsigned>> pngSize(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header))
        return std::nullopt;
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(signature, signature + 8, header) || std::string(header + 12, header + 16) != "IHDR")
        return std::nullopt;
    auto bigEndian = [&](int at) {
        return unsigned(header[at]) << 24 | unsigned(header[at + 1]) << 16 | unsigned(header[at + 2]) << 8 |
               unsigned(header[at + 3]);
    };
    return std::make_pair(bigEndian(16), bigEndian(20));
}

class StagedInstall : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/shelvoy-stage-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        stage = pattern;
        const CommandResult install = runCommand(std::string(SHELVOY_E2E_CMAKE) + " --install " +
                                                     SHELVOY_E2E_BUILD_DIR + " --prefix /usr",
                                                 {"DESTDIR=" + stage});
        ASSERT_EQ(install.status, 0) << install.output;
    }

    static void TearDownTestSuite() { fs::remove_all(stage); }

    static std::string staged(const std::string& path) { return stage + path; }

    static std::string stage;
};

std::string StagedInstall::stage;

}  // namespace

TEST_F(StagedInstall, EveryFileInItsPlace)
{
    const std::vector<std::string> files = {
        "/usr/bin/shelvoy",
        "/usr/share/shelvoy/Receipt.ttf",
        "/usr/share/applications/org.shelvoy.Shelvoy.desktop",
        "/usr/share/metainfo/org.shelvoy.Shelvoy.metainfo.xml",
        "/usr/share/icons/hicolor/scalable/apps/org.shelvoy.Shelvoy.svg",
        "/usr/share/icons/hicolor/48x48/apps/org.shelvoy.Shelvoy.png",
        "/usr/share/icons/hicolor/64x64/apps/org.shelvoy.Shelvoy.png",
        "/usr/share/icons/hicolor/128x128/apps/org.shelvoy.Shelvoy.png",
        "/usr/share/icons/hicolor/256x256/apps/org.shelvoy.Shelvoy.png",
        "/usr/share/man/man6/shelvoy.6.gz",
        "/usr/share/doc/shelvoy/copyright",
        "/usr/share/doc/shelvoy/changelog.gz",
    };
    for (const std::string& file : files)
        EXPECT_TRUE(fs::is_regular_file(staged(file))) << file;
    EXPECT_EQ(access(staged("/usr/bin/shelvoy").c_str(), X_OK), 0) << "not executable";
    EXPECT_EQ(access(staged("/usr/share/shelvoy/Receipt.ttf").c_str(), R_OK), 0);
    EXPECT_GT(fs::file_size(staged("/usr/share/shelvoy/Receipt.ttf")), 10000u);
    for (unsigned size : {48u, 64u, 128u, 256u}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(pngSize(staged("/usr/share/icons/hicolor/" + folder + "/apps/org.shelvoy.Shelvoy.png")),
                  std::make_pair(size, size))
            << folder;
    }
    EXPECT_TRUE(fs::is_symlink(staged("/usr/share/shelvoy/Receipt.ttf"))) << "a copy of the font";
}

TEST_F(StagedInstall, DesktopEntryAndMetainfoAreValid)
{
    const CommandResult desktop =
        runCommand("desktop-file-validate " + staged("/usr/share/applications/org.shelvoy.Shelvoy.desktop"));
    EXPECT_EQ(desktop.status, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "");
    const CommandResult metainfo = runCommand("appstreamcli validate --no-net " +
                                              staged("/usr/share/metainfo/org.shelvoy.Shelvoy.metainfo.xml"));
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;
    const CommandResult manual =
        runCommand("{ man --warnings -l " + staged("/usr/share/man/man6/shelvoy.6.gz") + " >/dev/null; }");
    EXPECT_EQ(manual.status, 0) << manual.output;
    EXPECT_EQ(manual.output, "") << "man page warnings";
}

// The project publishes no web site, so what software centres and menus show sends no one to
// an address that someone else could take over.
TEST_F(StagedInstall, MetadataNamesNoWebAddress)
{
    for (const char* file : {"/usr/share/metainfo/org.shelvoy.Shelvoy.metainfo.xml",
                             "/usr/share/applications/org.shelvoy.Shelvoy.desktop"})
        EXPECT_EQ(fileText(staged(file)).find("://"), std::string::npos) << file;
}

TEST_F(StagedInstall, StartedFromElsewhereItFindsItsFontInTheDataDirectory)
{
    const TimeLimit limit(30);
    GameOptions options;
    options.program = staged("/usr/bin/shelvoy");
    options.workingDirectory = "/";
    GameRun run(options);
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();
    const std::optional<int> status = run.quitWith(XK_Escape, Seconds(2.0));
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(Package, DebIsLintianCleanWithTheGameInUsrGamesAndTheFontALink)
{
    char pattern[] = "/tmp/shelvoy-deb-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string out = pattern;
    const CommandResult pack =
        runCommand(std::string(SHELVOY_E2E_CPACK) + " -G DEB -B " + out, {}, SHELVOY_E2E_BUILD_DIR);
    ASSERT_EQ(pack.status, 0) << pack.output;

    std::string deb;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".deb")
            deb = entry.path();
    ASSERT_FALSE(deb.empty()) << pack.output;

    const CommandResult contents = runCommand("dpkg-deb -c " + deb);
    ASSERT_EQ(contents.status, 0) << contents.output;
    for (const char* path :
         {"./usr/games/shelvoy",
          "./usr/share/shelvoy/Receipt.ttf -> ../fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
          "./usr/share/applications/org.shelvoy.Shelvoy.desktop",
          "./usr/share/metainfo/org.shelvoy.Shelvoy.metainfo.xml", "./usr/share/man/man6/shelvoy.6.gz",
          "./usr/share/doc/shelvoy/copyright", "./usr/share/doc/shelvoy/changelog.gz"})
        EXPECT_NE(contents.output.find(path), std::string::npos) << path << "\n" << contents.output;
    EXPECT_EQ(contents.output.find("./usr/bin/"), std::string::npos) << contents.output;

    const CommandResult depends = runCommand("dpkg-deb -f " + deb + " Depends");
    ASSERT_EQ(depends.status, 0) << depends.output;
    for (const char* package : {"fonts-dejavu-core", "libbox2d", "libglfw3", "libftgl2", "libsdl2", "libc6"})
        EXPECT_NE(depends.output.find(package), std::string::npos) << package << " in " << depends.output;
    // No Homepage or other address; the long description indented by one space, so dpkg wraps it.
    const CommandResult fields = runCommand("dpkg-deb -f " + deb);
    EXPECT_EQ(fields.output.find("://"), std::string::npos) << fields.output;
    EXPECT_EQ(fields.output.find("\n  "), std::string::npos) << fields.output;

    // No error or warning, and none of the hints on hardening or fonts in a game's package.
    const CommandResult lintian = runCommand("lintian --display-info " + deb);
    EXPECT_EQ(lintian.status, 0) << lintian.output;
    std::istringstream lines(lintian.output);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(line.rfind("E: ", 0) != 0 && line.rfind("W: ", 0) != 0 &&
                    line.find(" hardening-") == std::string::npos && line.find(" font-") == std::string::npos)
            << line;
    fs::remove_all(out);
}

// The Windows installer as a player runs it, under wine in a prefix of the test's own: installed
// silently, the installed game started from C:\ (and a copy of it from a folder deeper than
// MAX_PATH), uninstalled silently without a trace. The Windows
// stage of scripts/test.sh names the installer; elsewhere there is none to test.
TEST(WindowsInstaller, InstallsSilentlyRunsFromDriveCAndFromALongPathAndUninstallsWithoutATrace)
{
    const char* installer = std::getenv("SHELVOY_E2E_INSTALLER");
    if (!installer || !*installer || gameLauncher().empty())
        GTEST_SKIP() << "no Windows installer to test ($SHELVOY_E2E_INSTALLER, $SHELVOY_E2E_LAUNCHER)";
    const TimeLimit limit(240);
    char pattern[] = "/tmp/shelvoy-wine-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path prefix = pattern;
    const fs::path driveC = prefix / "drive_c";
    const fs::path folder = driveC / "Program Files" / "Shelvoy";
    const fs::path menu =
        driveC / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Shelvoy!";
    const std::string wine = gameLauncher();
    const std::string uninstallKey =
        "\"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Shelvoy\"";
    // Every wine program of the prefix has ended once its server has (wineserver -w): an NSIS
    // uninstaller goes on in a copy of itself after the program started has returned.
    const XServer display;
    const auto inPrefix = [&](const std::string& command) {
        return runCommand(command + " && wineserver -w",
                          {"WINEPREFIX=" + prefix.string(), "WINEDEBUG=-all", "DISPLAY=" + display.name()});
    };

    const CommandResult install = inPrefix(wine + " " + installer + " /S");
    ASSERT_EQ(install.status, 0) << install.output;
    EXPECT_TRUE(fs::is_regular_file(folder / "shelvoy.exe"));
    EXPECT_TRUE(fs::is_regular_file(folder / "Receipt.ttf"));
    EXPECT_TRUE(fs::is_regular_file(menu / "Shelvoy!.lnk")) << "no Start-menu entry";
    EXPECT_EQ(inPrefix(wine + " reg query " + uninstallKey + " /v UninstallString").status, 0)
        << "no uninstaller registered with Windows";

    // The game started from C:\ reaches its countdown and ends on Escape without a word.
    const auto play = [&](const fs::path& gameFolder) {
        GameOptions options;
        options.program = (gameFolder / "shelvoy.exe").string();
        options.workingDirectory = driveC.string();
        options.environment = {"WINEPREFIX=" + prefix.string()};
        GameRun run(options);
        ASSERT_TRUE(run.waitForCountdown(Seconds(60.0))) << gameFolder << "\n" << run.game.stderrText();
        EXPECT_EQ(run.quitWith(XK_Escape, Seconds(10.0)), 0);
        EXPECT_EQ(run.game.stderrText(), "");
    };
    play(folder);
    // The same files in a folder whose path is longer than MAX_PATH (260 characters) still find
    // each other: the game is long-path aware (its manifest says so to Windows).
    fs::path deep = driveC;
    while (deep.string().size() - driveC.string().size() + std::string("C:").size() <= 260)
        deep /= "a-folder-with-a-long-name";
    fs::create_directories(deep);
    fs::copy(folder, deep, fs::copy_options::recursive);
    play(deep);

    const CommandResult uninstall = inPrefix(wine + " \"" + (folder / "Uninstall.exe").string() + "\" /S");
    ASSERT_EQ(uninstall.status, 0) << uninstall.output;
    EXPECT_FALSE(fs::exists(folder)) << "files left in C:\\Program Files\\Shelvoy";
    EXPECT_FALSE(fs::exists(menu)) << "the Start-menu entry stayed";
    EXPECT_NE(inPrefix(wine + " reg query " + uninstallKey).status, 0) << "still registered";
    fs::remove_all(prefix);
}
