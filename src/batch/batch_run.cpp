#include "batch/batch_run.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/batch_error.h"
#include "batch/folder_names.h"
#include "common/atomic_file.h"
#include "common/calc_error.h"
#include "design/design_run.h"
#include "project/table_reader.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

struct Work {
    SourceItem item;
    PositionLabel label;
};

// A position that cannot run leaves no report of an earlier run behind in its folder (a real
// one: what a link points to is not the batch's).
void ClearOldReports(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error)))
        return;
    try {
        DeleteReportsFrom(folder, 0);
    } catch (const CalcError&) {
    }
}

// Why a position's folder cannot take its reports, or nothing: a link could lead the batch to
// write or delete outside DIR, and a file there is not the batch's to replace.
std::optional<std::string> RefuseFolder(const Work& work, const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (fs::is_symlink(status))
        return work.label.place + " 报告文件夹 " + folder.string() +
               " 是一个符号链接,没有写入;请删除它或给这个位置另起名称";
    if (fs::exists(status) && !fs::is_directory(status))
        return work.label.place + " 报告文件夹 " + folder.string() +
               " 是一个文件,没有写入;请删除它或给这个位置另起名称";
    return std::nullopt;
}

PositionOutcome Compute(const Work& work, const fs::path& out) {
    const fs::path folder = out / work.label.folder;
    if (const std::optional<std::string> refused = RefuseFolder(work, folder))
        return OutcomeOfError(work.label, *refused);
    if (!work.item.position) {
        ClearOldReports(folder);
        return OutcomeOfError(work.label, work.item.error);
    }
    const Position& position = *work.item.position;
    const std::string_view edition =
        position.edition.empty() ? EditionOfUnnamed().id : std::string_view(position.edition);
    if (!IsComputedEdition(edition)) {
        ClearOldReports(folder);
        return OutcomeOfError(work.label, work.label.place + " 规范版本 " + std::string(edition) +
                                              " 的计算本程序还没有提供,这个位置没有计算");
    }
    // The run follows the position's edition, inherited from the project where it has none.
    Design design = position.design;
    design.wind.edition = std::string(edition);
    SharedValues shared;
    const DesignRunResult result = RunDesign(design, folder, shared);
    // A disk that takes no report takes no other position's either.
    if (result.error && result.error->kind() == ErrorKind::FileUnwritable)
        throw BatchError(result.error->description());
    return OutcomeOfRun(work.label, design, result, work.item.sources);
}

// A position computed, with its outcome, or what stopped the batch there.
struct Finished {
    Work work;
    PositionOutcome outcome;
    std::exception_ptr failure;
};

// Hands positions to the workers and their lines back in schedule order; at most `window`
// positions are on their way at once, so memory stays flat however long the schedule is.
class Pipeline {
  public:
    Pipeline(const fs::path& out, int jobs, std::size_t window) : out_(out), window_(window) {
        for (int i = 0; i < jobs; ++i) workers_.emplace_back([this] { Work(); });
    }
    ~Pipeline() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        wanted_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    bool Full() const { return sent_ - received_ >= window_; }
    bool Empty() const { return sent_ == received_; }

    void Send(struct Work work) {
        {
            std::lock_guard lock(mutex_);
            queue_.emplace_back(sent_, std::move(work));
        }
        ++sent_;
        wanted_.notify_one();
    }

    // The oldest position sent and not yet received, with its outcome; waits for it.
    Finished Receive() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return results_.contains(received_); });
        Finished finished = std::move(results_.at(received_));
        results_.erase(received_);
        ++received_;
        return finished;
    }

    // Positions sent but not started are dropped: the batch is being stopped.
    void Drop() {
        std::lock_guard lock(mutex_);
        sent_ -= queue_.size();
        queue_.clear();
    }

  private:
    void Work() {
        while (true) {
            std::pair<std::size_t, struct Work> next;
            {
                std::unique_lock lock(mutex_);
                wanted_.wait(lock, [this] { return closing_ || !queue_.empty(); });
                if (queue_.empty())
                    return;
                next = std::move(queue_.front());
                queue_.pop_front();
            }
            PositionOutcome outcome;
            std::exception_ptr failure;
            try {
                outcome = Compute(next.second, out_);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                std::lock_guard lock(mutex_);
                results_.emplace(next.first,
                                 Finished{std::move(next.second), std::move(outcome), failure});
            }
            done_.notify_all();
        }
    }

    fs::path out_;
    std::size_t window_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wanted_;
    std::condition_variable done_;
    std::deque<std::pair<std::size_t, struct Work>> queue_;
    std::map<std::size_t, Finished> results_;
    bool closing_ = false;
    std::size_t sent_ = 0;      // by the calling thread only
    std::size_t received_ = 0;  // by the calling thread only
};

// The names in DIR that are the batch's own files, with their temporary names (these begin
// with a dot, which a folder name never does).
std::vector<std::string> ReservedNames(const BatchOptions& options) {
    std::vector<std::string> names = options.reserved_names;
    names.push_back(kSummaryFile);
    if (options.xlsx)
        names.push_back(options.xlsx->filename().string());
    return names;
}

class Batch {
  public:
    Batch(PositionSource& source, const BatchOptions& options, BatchObserver& observer,
          const std::atomic<bool>& stop)
        : source_(source),
          options_(options),
          observer_(observer),
          stop_(stop),
          folders_(ReservedNames(options)) {}

    BatchOutcome Run() {
        for (const std::string& warning : source_.Warnings()) observer_.Warning(warning);
        std::optional<struct Work> first = Read();
        if (!first) {
            if (!outcome_.broken_off.empty())
                throw ScheduleError(outcome_.broken_off);
            throw ScheduleError("计划表中没有计算位置:表头之后没有一行有值");
        }
        PrepareOutput();
        std::vector<std::unique_ptr<SummarySink>> sinks;
        sinks.push_back(NewSummaryCsv(options_.out / kSummaryFile));
        if (options_.xlsx)
            sinks.push_back(NewSummaryXlsx(*options_.xlsx, source_.Info()));
        auto add = [&](const Work& work, const PositionOutcome& outcome) {
            Count(outcome);
            for (auto& sink : sinks) sink->Add(outcome);
            observer_.Computed(work.item.position ? &*work.item.position : nullptr, outcome);
            observer_.Done(outcome_.counts.positions, outcome);
        };
        if (options_.jobs <= 1)
            RunInline(std::move(*first), add);
        else
            RunParallel(std::move(*first), add);
        if (stop_) {
            outcome_.interrupted = true;
            return outcome_;  // the sinks go uncommitted: no summary at all
        }
        if (!outcome_.broken_off.empty()) {
            // Not a position, but the summary must show that rows are missing.
            const PositionOutcome broken = OutcomeOfError({}, outcome_.broken_off);
            for (auto& sink : sinks) sink->Add(broken);
        }
        for (auto& sink : sinks) sink->Commit();
        return outcome_;
    }

  private:
    // The next position with its folder, or nothing at the end (or where the source breaks off).
    std::optional<struct Work> Read() {
        std::optional<SourceItem> item;
        try {
            item = source_.Next();
        } catch (const std::runtime_error& error) {
            outcome_.broken_off = error.what();
            return std::nullopt;
        }
        if (!item)
            return std::nullopt;
        for (const std::string& warning : item->warnings) observer_.Warning(warning);
        struct Work work;
        work.label.name = item->name;
        work.label.place = item->place;
        work.label.folder = folders_.Take(item->name, item->place);
        if (!item->name.empty() && work.label.folder != SafeFileName(item->name)) {
            observer_.Warning("警告: " + item->place + "的名称“" + item->name +
                              "”与前面的位置重复(或不能作文件夹名),报告写在文件夹 " +
                              work.label.folder);
        }
        work.item = std::move(*item);
        return work;
    }

    void PrepareOutput() {
        std::error_code error;
        fs::create_directories(options_.out, error);
        if (error || !fs::is_directory(options_.out, error)) {
            throw BatchError("无法建立输出文件夹 " + options_.out.string() + ": " +
                             DescribeFileError(error));
        }
        // A summary of an earlier run must not stand beside the reports of this one.
        fs::remove(options_.out / kSummaryFile, error);
    }

    void Count(const PositionOutcome& outcome) {
        ++outcome_.counts.positions;
        switch (outcome.verdict) {
            case PositionVerdict::Passed:
                ++outcome_.counts.passed;
                break;
            case PositionVerdict::Failed:
                ++outcome_.counts.failed;
                break;
            case PositionVerdict::Error:
                ++outcome_.counts.errors;
                break;
        }
    }

    template <typename Add>
    void RunInline(struct Work first, Add add) {
        std::optional<struct Work> work = std::move(first);
        while (work && !stop_) {
            add(*work, Compute(*work, options_.out));
            work = Read();
        }
    }

    template <typename Add>
    void RunParallel(struct Work first, Add add) {
        Pipeline pipeline(options_.out, options_.jobs,
                          static_cast<std::size_t>(options_.jobs) * 32);
        std::optional<struct Work> next = std::move(first);
        while (true) {
            if (stop_)
                pipeline.Drop();
            while (next && !stop_ && !pipeline.Full()) {
                pipeline.Send(std::move(*next));
                next = Read();
            }
            if (pipeline.Empty())
                break;
            const Finished finished = pipeline.Receive();
            if (finished.failure) {
                pipeline.Drop();
                std::rethrow_exception(finished.failure);
            }
            if (!stop_)
                add(finished.work, finished.outcome);
        }
    }

    PositionSource& source_;
    const BatchOptions& options_;
    BatchObserver& observer_;
    const std::atomic<bool>& stop_;
    FolderNames folders_;
    BatchOutcome outcome_;
};

}  // namespace

BatchOutcome RunBatch(PositionSource& source, const BatchOptions& options, BatchObserver& observer,
                      const std::atomic<bool>& stop) {
    return Batch(source, options, observer, stop).Run();
}

}  // namespace quoinry
