#include "record/record_keeper.h"

#include <cstdio>

#include "platform/data_file.h"
#include "platform/saved_file.h"

namespace {

void toStderr(const std::string& line)
{
    std::fprintf(stderr, "Shelvoy!: %s\n", line.c_str());
    std::fflush(stderr);
}

}  // namespace

RecordKeeper::RecordKeeper(std::string folder, const LevelDesc& desc,
                           std::function<void(const std::string& line)> report)
    : m_folder(std::move(folder)), m_desc(desc), m_report(report ? std::move(report) : toStderr)
{
    if (m_folder.empty())
        return;
    const SavedDataLock lock(m_folder);
    if (!readFolder(m_best))
        m_unwritable = true;  // its file stays as it is; readFolder said why
}

bool RecordKeeper::readFolder(std::shared_ptr<const RunRecord>& found)
{
    found.reset();
    const std::string path = m_folder + pathSeparator + recordFileName;
    const SavedRead file = readSavedFile(m_folder, recordFileName, recordSizeLimit);
    std::string problem;
    switch (file.status) {
    case SavedRead::Status::absent:
        return true;
    case SavedRead::Status::tooLarge:
        problem = recordFaultText(RecordFault::tooLarge);
        break;
    case SavedRead::Status::unreadable:
        problem = "cannot be read (" + file.why + ")";
        break;
    case SavedRead::Status::read: {
        RecordFault fault = RecordFault::none;
        std::optional<RunRecord> record = decodeRecord(file.bytes.data(), file.bytes.size(), &fault);
        if (!record)
            problem = recordFaultText(fault);
        else if (!verifyRecord(*record, m_desc))
            problem = record->fingerprint == storeFingerprint(m_desc) ? "does not replay to its time"
                                                                      : "is of another store";
        else
            found = std::make_shared<const RunRecord>(std::move(*record));
        break;
    }
    }
    if (problem.empty())
        return true;
    std::string why;
    const std::string aside = setSavedFileAside(m_folder, recordFileName, why);
    if (aside.empty()) {
        m_report("the record " + path + " " + problem + " and cannot be set aside (" + why +
                 "): it stays as it is, and this session's record is kept in memory only");
        return false;
    }
    m_report("the record " + path + " " + problem + ": set aside as " + aside + ", a new record begins");
    return true;
}

void RecordKeeper::reportOnce(const std::string& line)
{
    if (!m_unwritable)
        m_report(line + ": the record is kept in memory for this session only");
    m_unwritable = true;
}

RecordKeeper::Outcome RecordKeeper::offer(const RunRecord& run)
{
    Outcome outcome;
    outcome.hadRecord = m_best != nullptr;
    outcome.previous = m_best ? m_best->runTime : 0.0;
    if (m_best && !(run.runTime < m_best->runTime)) {
        outcome.best = m_best->runTime;
        return outcome;
    }
    m_best = std::make_shared<const RunRecord>(run);
    outcome.newBest = true;
    outcome.best = run.runTime;
    if (m_unwritable)
        return outcome;
    if (m_folder.empty()) {
        reportOnce("no data folder (no home)");
        return outcome;
    }
    const std::string made = makeSavedDataFolder(m_folder);
    if (!made.empty()) {
        reportOnce("cannot make " + m_folder + " (" + made + ")");
        return outcome;
    }

    const SavedDataLock lock(m_folder);
    std::shared_ptr<const RunRecord> kept;
    if (!readFolder(kept)) {
        m_unwritable = true;
        return outcome;
    }
    if (kept && !(run.runTime < kept->runTime)) {
        // Another game has kept a run at least as fast meanwhile: it stays the record.
        m_best = kept;
        outcome.hadRecord = true;
        outcome.newBest = false;
        outcome.previous = kept->runTime;
        outcome.best = kept->runTime;
        return outcome;
    }
    if (kept && (!outcome.hadRecord || kept->runTime < outcome.previous)) {
        outcome.hadRecord = true;
        outcome.previous = kept->runTime;
    }
    const std::string written = replaceSavedFile(m_folder, recordFileName, encodeRecord(run));
    if (!written.empty())
        reportOnce("cannot write " + m_folder + pathSeparator + recordFileName + " (" + written + ")");
    return outcome;
}
