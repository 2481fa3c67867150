// libFuzzer entry for the record reader: arbitrary bytes as a record file. The reader must turn
// every input down or read it whole without reading past the end; what it reads must be the
// input byte for byte when written again (nothing is read that the file does not say), and its
// run must replay through the built-in store without harm, believed or not.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "record/run_record.h"
#include "world/level.h"

namespace {

constexpr std::size_t mostFramesReplayed = 4000;  // keeps each input quick

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RecordFault fault = RecordFault::none;
    const std::optional<RunRecord> record = decodeRecord(data, size, &fault);
    if (!record) {
        if (fault == RecordFault::none)
            std::abort();  // turned down without a reason
        return 0;
    }
    if (fault != RecordFault::none || encodeRecord(*record) != std::vector<unsigned char>(data, data + size))
        std::abort();
    static const LevelDesc store = builtinLevel();
    if (record->frames.size() <= mostFramesReplayed)
        verifyRecord(*record, store);
    return 0;
}
