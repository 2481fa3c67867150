#include "record/run_record.h"

#include <cmath>
#include <cstring>

#include "world/level.h"
#include "world/world.h"

// The build names the game's version; a build of these sources alone (the fuzzer's) has none.
#ifndef SHELVOY_VERSION
#define SHELVOY_VERSION "unknown"
#endif

namespace {

constexpr char magic[8] = {'S', 'H', 'E', 'L', 'V', 'O', 'Y', 'R'};
constexpr std::size_t longestVersion = 32;  // characters of the game's version text
constexpr std::uint32_t mostSplits = 4096;
constexpr float longestFrame = 0.033333335f;  // seconds: the frame timer never hands on more
constexpr std::size_t frameBytes = 5;

std::uint32_t crc32(const unsigned char* bytes, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putU32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void putU64(std::vector<unsigned char>& out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void putDouble(std::vector<unsigned char>& out, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putU64(out, bits);
}

// The bytes still unread, never read past.
class Reader {
public:
    Reader(const unsigned char* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}
    std::size_t left() const { return m_size - m_at; }
    bool take(void* into, std::size_t count)
    {
        if (count > left())
            return false;
        std::memcpy(into, m_bytes + m_at, count);
        m_at += count;
        return true;
    }
    bool u32(std::uint32_t& value)
    {
        unsigned char b[4];
        if (!take(b, 4))
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | b[i];
        return true;
    }
    bool u64(std::uint64_t& value)
    {
        unsigned char b[8];
        if (!take(b, 8))
            return false;
        value = 0;
        for (int i = 7; i >= 0; --i)
            value = (value << 8) | b[i];
        return true;
    }
    bool f64(double& value)
    {
        std::uint64_t bits = 0;
        if (!u64(bits))
            return false;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }

private:
    const unsigned char* m_bytes;
    std::size_t m_size;
    std::size_t m_at = 0;
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

std::uint64_t storeFingerprint(const LevelDesc& desc)
{
    std::uint64_t hash = 0xCBF29CE484222325u;
    const auto add = [&hash](const void* data, std::size_t size) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 0x100000001B3u;
    };
    const std::int32_t size[2] = {desc.width, desc.height};
    add(size, sizeof size);
    for (int row = 0; row < desc.height; ++row)
        add(desc.rows[row], static_cast<std::size_t>(desc.width));
    const float start[3] = {desc.startX, desc.startY, desc.startAngle};
    add(start, sizeof start);
    return hash;
}

std::vector<unsigned char> encodeRecord(const RunRecord& record)
{
    std::vector<unsigned char> out(magic, magic + sizeof magic);
    putU32(out, recordFormatVersion);
    const std::string version = record.gameVersion.substr(0, longestVersion);
    out.push_back(static_cast<unsigned char>(version.size()));
    out.insert(out.end(), version.begin(), version.end());
    putU64(out, record.fingerprint);
    putDouble(out, record.runTime);
    putU32(out, static_cast<std::uint32_t>(record.splits.size()));
    for (const double split : record.splits)
        putDouble(out, split);
    putU32(out, static_cast<std::uint32_t>(record.frames.size()));
    for (const RecordFrame& frame : record.frames) {
        std::uint32_t bits;
        std::memcpy(&bits, &frame.dt, sizeof bits);
        putU32(out, bits);
        unsigned char flags = 0;
        for (std::size_t i = 0; i < frame.controls.size(); ++i)
            flags = static_cast<unsigned char>(flags | (frame.controls[i] ? 1u << i : 0u));
        out.push_back(flags);
    }
    putU32(out, crc32(out.data(), out.size()));
    return out;
}

std::string recordFaultText(RecordFault fault)
{
    switch (fault) {
    case RecordFault::none:
        break;
    case RecordFault::truncated:
        return "is truncated";
    case RecordFault::corrupted:
        return "is corrupted";
    case RecordFault::futureFormat:
        return "is of a later game's format";
    case RecordFault::tooLarge:
        return "is too large to be a record";
    }
    return "is a record";
}

std::optional<RunRecord> decodeRecord(const unsigned char* bytes, std::size_t size, RecordFault* fault)
{
    RecordFault ignored = RecordFault::none;
    RecordFault& why = fault ? *fault : ignored;
    why = RecordFault::none;
    const auto fail = [&why](RecordFault f) {
        why = f;
        return std::nullopt;
    };
    if (size > recordSizeLimit)
        return fail(RecordFault::tooLarge);
    Reader in(bytes, size);
    char head[sizeof magic];
    if (!in.take(head, sizeof head))
        return fail(size == 0 || std::memcmp(bytes, magic, size) == 0 ? RecordFault::truncated
                                                                      : RecordFault::corrupted);
    if (std::memcmp(head, magic, sizeof magic) != 0)
        return fail(RecordFault::corrupted);
    std::uint32_t version = 0;
    if (!in.u32(version))
        return fail(RecordFault::truncated);
    if (version > recordFormatVersion)
        return fail(RecordFault::futureFormat);
    if (version != recordFormatVersion)
        return fail(RecordFault::corrupted);

    // The checksum covers everything before it: a record cut short anywhere fails it, but that
    // is told apart as truncated by the lengths below.
    RunRecord record;
    unsigned char length = 0;
    if (!in.take(&length, 1))
        return fail(RecordFault::truncated);
    if (length > longestVersion)
        return fail(RecordFault::corrupted);
    record.gameVersion.resize(length);
    if (!in.take(record.gameVersion.data(), length))
        return fail(RecordFault::truncated);
    for (const char c : record.gameVersion)
        if (c < 0x20 || c > 0x7E)
            return fail(RecordFault::corrupted);
    std::uint32_t splits = 0;
    if (!in.u64(record.fingerprint) || !in.f64(record.runTime) || !in.u32(splits))
        return fail(RecordFault::truncated);
    if (splits > mostSplits)
        return fail(RecordFault::corrupted);
    if (in.left() < 8u * splits)
        return fail(RecordFault::truncated);
    record.splits.resize(splits);
    for (double& split : record.splits)
        in.f64(split);
    std::uint32_t frames = 0;
    if (!in.u32(frames))
        return fail(RecordFault::truncated);
    if (frames == 0 || frames > recordSizeLimit / frameBytes)
        return fail(RecordFault::corrupted);
    if (in.left() < frameBytes * frames + 4)
        return fail(RecordFault::truncated);
    record.frames.resize(frames);
    for (RecordFrame& frame : record.frames) {
        std::uint32_t bits = 0;
        unsigned char flags = 0;
        in.u32(bits);
        in.take(&flags, 1);
        std::memcpy(&frame.dt, &bits, sizeof bits);
        if (!(frame.dt >= 0.0f && frame.dt <= longestFrame))
            return fail(RecordFault::corrupted);
        for (std::size_t i = 0; i < frame.controls.size(); ++i)
            frame.controls[i] = (flags >> i) & 1u;
    }
    const std::size_t covered = size - in.left();
    std::uint32_t sum = 0;
    in.u32(sum);
    if (in.left() != 0 || sum != crc32(bytes, covered))
        return fail(RecordFault::corrupted);
    if (!std::isfinite(record.runTime) || !(record.runTime > 0.0))
        return fail(RecordFault::corrupted);
    for (const double split : record.splits)
        if (!std::isfinite(split) || split < 0.0 || split > record.runTime)
            return fail(RecordFault::corrupted);
    return record;
}

bool verifyRecord(const RunRecord& record, const LevelDesc& desc)
{
    if (record.fingerprint != storeFingerprint(desc) || record.frames.empty())
        return false;
    World world(desc);
    if (record.splits.size() != world.items().size() || world.itemsLeft() == 0)
        return false;
    std::size_t taken = 0;
    for (std::size_t i = 0; i < record.frames.size(); ++i) {
        if (world.itemsLeft() == 0)
            return false;  // the run was over before its last frame
        world.cart().controls = record.frames[i].controls;
        world.step(record.frames[i].dt);
        for (int k = 0; k < world.lastStep().itemsTaken; ++k)
            if (taken >= record.splits.size() || !sameBits(record.splits[taken++], world.runClock()))
                return false;
    }
    return world.itemsLeft() == 0 && taken == record.splits.size() &&
           sameBits(world.runClock(), record.runTime);
}

RunRecorder::RunRecorder(const LevelDesc& desc)
{
    m_record.gameVersion = SHELVOY_VERSION;
    m_record.fingerprint = storeFingerprint(desc);
}

void RunRecorder::addFrame(float dt, const CartControls& controls, int itemsTaken, double runClock)
{
    m_record.frames.push_back(RecordFrame{dt, controls});
    for (int k = 0; k < itemsTaken; ++k)
        m_record.splits.push_back(runClock);
    m_record.runTime = runClock;
}
