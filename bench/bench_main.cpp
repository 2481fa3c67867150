// Runs every benchmark, then prints one table: each figure with its ratio to the bare
// clear-and-swap frame of the same window size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "render/font.h"

namespace {

struct Row {
    std::string name;
    double realMs;
    double cpuMs;
};

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions the table keeps the medians only.
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median"))
                continue;
            if (run.run_type != Run::RT_Aggregate && run.repetitions > 1)
                continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            rows.push_back(
                {run.benchmark_name(), run.GetAdjustedRealTime() * toMs, run.GetAdjustedCPUTime() * toMs});
        }
    }

    std::vector<Row> rows;
};

// "BM_PlayFrame/size:1/view:0" -> "size:1"
std::string sizeOf(const std::string& name)
{
    const size_t at = name.find("size:");
    return at == std::string::npos ? std::string() : name.substr(at, 6);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        keepFreedMemoryForReuse();  // as the game does, so that its frames cost what the game's do
        gameFontBytes();            // the frame benchmarks draw text: fail here, clearly, rather than mid-run
    } catch (const std::exception& e) {
        std::fprintf(stderr, "shelvoy_bench: %s\n", e.what());
        return 1;
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::map<std::string, double> floor;
    for (const Row& row : reporter.rows)
        if (row.name.rfind("BM_BareFrame", 0) == 0)
            floor[sizeOf(row.name)] = row.realMs;

    std::printf("\n%-44s %12s %12s %10s\n", "benchmark (size:0 800x600, size:1 1920x1080)", "real ms",
                "cpu ms", "x bare");
    for (const Row& row : reporter.rows) {
        const auto base = floor.find(sizeOf(row.name));
        if (base != floor.end() && base->second > 0.0)
            std::printf("%-44s %12.4f %12.4f %10.2f\n", row.name.c_str(), row.realMs, row.cpuMs,
                        row.realMs / base->second);
        else
            std::printf("%-44s %12.4f %12.4f %10s\n", row.name.c_str(), row.realMs, row.cpuMs, "-");
    }
    return 0;
}
