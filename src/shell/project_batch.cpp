#include "shell/project_batch.h"

#include <QString>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "batch/batch_run.h"
#include "batch/project_chapters.h"
#include "shell/progress_run.h"

namespace quoinry::shell {
namespace {

// Collects the outcomes of a batch as they come, from the batch's thread, and the project
// document's chapters when asked.
class Collector : public BatchObserver {
  public:
    Collector(ProjectChapters* chapters, const Progressed& progressed)
        : chapters_(chapters), progressed_(progressed) {}
    void Computed(const Position* position, const PositionOutcome& outcome) override {
        if (chapters_ != nullptr)
            chapters_->Add(position, outcome);
    }
    void Done(int done, const PositionOutcome& outcome) override {
        {
            std::lock_guard lock(mutex_);
            outcomes_.push_back(outcome);
        }
        progressed_(done);
    }
    std::vector<PositionOutcome> TakeOutcomes() {
        std::lock_guard lock(mutex_);
        return std::move(outcomes_);
    }

  private:
    ProjectChapters* chapters_;  // read only after the batch's thread has ended
    const Progressed& progressed_;
    std::mutex mutex_;
    std::vector<PositionOutcome> outcomes_;
};

}  // namespace

ProjectBatchRun RunProjectBatch(QWidget* parent, const Project& project,
                                const std::filesystem::path& out, ProjectChapters* chapters) {
    std::unique_ptr<PositionSource> source = PositionsOf(project);
    const int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const BatchOptions options{out, std::nullopt, jobs};
    const int total = static_cast<int>(project.positions.size());
    std::atomic<bool> stop{false};
    ProjectBatchRun run;
    run.failure = RunWithProgress(
        parent, "ComputeProgress",
        chapters != nullptr ? QStringLiteral("工程计算书") : QStringLiteral("全部计算"),
        QStringLiteral("正在计算 %1 个位置…").arg(total), total,
        [&](const std::atomic<bool>& stopped, const Progressed& progressed) {
            Collector collector(chapters, progressed);
            try {
                RunBatch(*source, options, collector, stopped);
            } catch (...) {
                run.outcomes = collector.TakeOutcomes();
                throw;
            }
            run.outcomes = collector.TakeOutcomes();
        },
        stop);
    run.stopped = stop.load();
    return run;
}

}  // namespace quoinry::shell
