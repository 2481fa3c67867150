#include "support/replay.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sim {

namespace {

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::string hex(float value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08" PRIx32, bitsOf(value));
    return text;
}

std::string hex(double value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%016" PRIx64, bitsOf(value));
    return text;
}

std::string decimal(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Parses exactly `digits` hex digits.
bool parseHex(const std::string& word, size_t digits, std::uint64_t* out)
{
    if (word.size() != digits)
        return false;
    std::uint64_t value = 0;
    for (const char c : word) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    *out = value;
    return true;
}

bool parseFloat(const std::string& word, float* out)
{
    std::uint64_t bits;
    if (!parseHex(word, 8, &bits))
        return false;
    const std::uint32_t narrow = static_cast<std::uint32_t>(bits);
    std::memcpy(out, &narrow, sizeof *out);
    return true;
}

bool parseDouble(const std::string& word, double* out)
{
    std::uint64_t bits;
    if (!parseHex(word, 16, &bits))
        return false;
    std::memcpy(out, &bits, sizeof *out);
    return true;
}

void differ(std::string* out, const char* name, const std::string& expected, const std::string& actual)
{
    if (expected != actual)
        *out += std::string(name) + " expected " + expected + " got " + actual + "; ";
}

std::string floatText(float value) { return hex(value) + " (" + decimal(static_cast<double>(value)) + ")"; }

}  // namespace

Snapshot snapshot(const World& world)
{
    const b2Body& body = world.cart().body();
    Snapshot s;
    s.position = body.GetPosition();
    s.angle = body.GetAngle();
    s.velocity = body.GetLinearVelocity();
    s.angularVelocity = body.GetAngularVelocity();
    s.push[0] = world.cart().hands()[0].push;
    s.push[1] = world.cart().hands()[1].push;
    s.clock = world.runClock();
    s.spin = world.spinAngle();
    s.itemsLeft = world.itemsLeft();
    for (const auto& slot : world.items())
        s.slots += slot ? '1' : '0';
    return s;
}

std::string snapshotDifferences(const Snapshot& e, const Snapshot& a)
{
    std::string out;
    differ(&out, "position.x", floatText(e.position.x), floatText(a.position.x));
    differ(&out, "position.y", floatText(e.position.y), floatText(a.position.y));
    differ(&out, "angle", floatText(e.angle), floatText(a.angle));
    differ(&out, "velocity.x", floatText(e.velocity.x), floatText(a.velocity.x));
    differ(&out, "velocity.y", floatText(e.velocity.y), floatText(a.velocity.y));
    differ(&out, "angularVelocity", floatText(e.angularVelocity), floatText(a.angularVelocity));
    for (int h = 0; h < 2; ++h) {
        const std::string name = "push" + std::to_string(h);
        differ(&out, (name + ".x").c_str(), floatText(e.push[h].x), floatText(a.push[h].x));
        differ(&out, (name + ".y").c_str(), floatText(e.push[h].y), floatText(a.push[h].y));
    }
    differ(&out, "clock", hex(e.clock) + " (" + decimal(e.clock) + ")",
           hex(a.clock) + " (" + decimal(a.clock) + ")");
    differ(&out, "spin", floatText(e.spin), floatText(a.spin));
    differ(&out, "itemsLeft", std::to_string(e.itemsLeft), std::to_string(a.itemsLeft));
    differ(&out, "slots", e.slots, a.slots);
    return out;
}

std::string formatReplay(const Replay& replay)
{
    std::ostringstream out;
    std::istringstream header(replay.header);
    for (std::string line; std::getline(header, line);)
        out << '#' << (line.empty() ? "" : " ") << line << '\n';
    for (const Frame& frame : replay.frames) {
        out << hex(frame.dt) << ' ';
        for (const bool flag : frame.controls)
            out << (flag ? '1' : '0');
        out << '\n';
    }
    if (replay.hasEnd) {
        const Snapshot& s = replay.end;
        auto pair = [&](const char* key, b2Vec2 v) {
            out << "end " << key << ' ' << hex(v.x) << ' ' << hex(v.y) << "  # "
                << decimal(static_cast<double>(v.x)) << ' ' << decimal(static_cast<double>(v.y)) << '\n';
        };
        auto single = [&](const char* key, float v) {
            out << "end " << key << ' ' << hex(v) << "  # " << decimal(static_cast<double>(v)) << '\n';
        };
        pair("position", s.position);
        single("angle", s.angle);
        pair("velocity", s.velocity);
        single("angularVelocity", s.angularVelocity);
        pair("push0", s.push[0]);
        pair("push1", s.push[1]);
        out << "end clock " << hex(s.clock) << "  # " << decimal(s.clock) << '\n';
        single("spin", s.spin);
        out << "end items " << s.itemsLeft << ' ' << s.slots << '\n';
    }
    return out.str();
}

Replay parseReplay(const std::string& text)
{
    Replay replay;
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) {
            // Comment lines above the first frame are the header.
            if (replay.frames.empty() && line.find_first_not_of(" \t") == hash) {
                std::string comment = line.substr(hash + 1);
                if (!comment.empty() && comment[0] == ' ')
                    comment.erase(0, 1);
                replay.header += comment + '\n';
            }
            line.erase(hash);
        }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        auto fail = [&](const std::string& why) {
            throw std::runtime_error("replay line " + std::to_string(lineNumber) + ": " + why);
        };
        if (w[0] == "end") {
            if (w.size() < 3)
                fail("an end record needs a key and a value");
            Snapshot& s = replay.end;
            const std::string& key = w[1];
            bool ok = true;
            if (key == "position" || key == "velocity" || key == "push0" || key == "push1") {
                b2Vec2& v = key == "position"   ? s.position
                            : key == "velocity" ? s.velocity
                            : key == "push0"    ? s.push[0]
                                                : s.push[1];
                ok = w.size() == 4 && parseFloat(w[2], &v.x) && parseFloat(w[3], &v.y);
            } else if (key == "angle") {
                ok = w.size() == 3 && parseFloat(w[2], &s.angle);
            } else if (key == "angularVelocity") {
                ok = w.size() == 3 && parseFloat(w[2], &s.angularVelocity);
            } else if (key == "spin") {
                ok = w.size() == 3 && parseFloat(w[2], &s.spin);
            } else if (key == "clock") {
                ok = w.size() == 3 && parseDouble(w[2], &s.clock);
            } else if (key == "items") {
                ok = w.size() == 4 && !w[2].empty() && w[2].size() < 6 &&
                     w[2].find_first_not_of("0123456789") == std::string::npos &&
                     w[3].find_first_not_of("01") == std::string::npos;
                if (ok) {
                    s.itemsLeft = std::atoi(w[2].c_str());
                    s.slots = w[3];
                }
            } else {
                fail("unknown end key '" + key + "'");
            }
            if (!ok)
                fail("malformed end " + key);
            replay.hasEnd = true;
            continue;
        }
        if (replay.hasEnd)
            fail("a frame after the end records");
        Frame frame;
        if (w.size() != 2 || !parseFloat(w[0], &frame.dt) || w[1].size() != 8 ||
            w[1].find_first_not_of("01") != std::string::npos)
            fail("expected '<8 hex digits> <8 flags of 0/1>'");
        for (size_t i = 0; i < 8; ++i)
            frame.controls[i] = w[1][i] == '1';
        replay.frames.push_back(frame);
    }
    return replay;
}

Replay loadReplay(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return parseReplay(text.str());
}

void saveReplay(const std::string& path, const Replay& replay)
{
    std::ofstream file(path, std::ios::trunc);
    file << formatReplay(replay);
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

void applyFrame(World& world, const Frame& frame)
{
    world.cart().controls = frame.controls;
    world.step(frame.dt);
}

std::vector<Snapshot> playFrames(const std::vector<Frame>& frames)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    std::vector<Snapshot> states;
    states.reserve(frames.size());
    for (const Frame& frame : frames) {
        applyFrame(world, frame);
        states.push_back(snapshot(world));
    }
    return states;
}

}  // namespace sim
