#pragma once

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "batch/position_source.h"
#include "batch/summary.h"

namespace quoinry {

struct BatchOptions {
    std::filesystem::path out;                  // DIR: DIR/NAME/*.txt and DIR/summary.csv
    std::optional<std::filesystem::path> xlsx;  // the formatted summary
    int jobs = 1;                               // positions computed at once
    // Names of other outputs in DIR (the document's): never a position's folder. The summary's
    // and the workbook's are added by the batch.
    std::vector<std::string> reserved_names{};
};

struct BatchCounts {
    int positions = 0;
    int passed = 0;
    int failed = 0;
    int errors = 0;
};

// Told about a batch as it goes, always from the thread that called RunBatch.
class BatchObserver {
  public:
    virtual ~BatchObserver() = default;
    // A note about the schedule or a position that does not stop it.
    virtual void Warning(const std::string&) {}
    // A position is done, in schedule order: its folder under DIR (the outcome's label) holds
    // its reports, and `position` (nothing for a row that could not be read) its design with the
    // section picture. A document of the whole project is made from these, position by position.
    virtual void Computed(const Position* /*position*/, const PositionOutcome& /*outcome*/) {}
    // Then: `done` positions are done.
    virtual void Done(int /*done*/, const PositionOutcome&) {}
};

struct BatchOutcome {
    BatchCounts counts;
    bool interrupted = false;  // `stop` was set: no summary was written
    std::string broken_off;    // the schedule could not be read past a row: why
};

// The summary file in the output folder.
inline constexpr const char* kSummaryFile = "summary.csv";

// Computes every position of `source` into DIR/NAME (the reports of `quoinry run`), writing
// the summary in schedule order; positions run on `jobs` threads and the outputs are the same
// for any number. Once `stop` is set no further position starts and no summary is written.
// Throws BatchError when the output cannot be written, ScheduleError when the source holds no
// position.
BatchOutcome RunBatch(PositionSource& source, const BatchOptions& options, BatchObserver& observer,
                      const std::atomic<bool>& stop);

}  // namespace quoinry
