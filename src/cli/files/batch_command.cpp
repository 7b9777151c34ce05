#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

#include "batch/batch_error.h"
#include "batch/batch_run.h"
#include "batch/position_source.h"
#include "batch/project_chapters.h"
#include "cli/commands.h"
#include "design/design_file.h"
#include "design/design_run.h"
#include "document/document_error.h"
#include "platform/plugin.h"
#include "project/project_file.h"
#include "project/table_reader.h"

namespace quoinry::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage =
    "usage: quoinry batch SCHEDULE --out DIR [--base DESIGN] [--xlsx FILE] [--docx FILE]\n"
    "                     [--pdf FILE] [--jobs N]";

constexpr std::string_view kHelp =
    "usage: quoinry batch SCHEDULE --out DIR [--base DESIGN] [--xlsx FILE] [--docx FILE]\n"
    "                     [--pdf FILE] [--jobs N]\n"
    "\n"
    "Computes every window position of a building as `quoinry run` computes one: for each\n"
    "position DIR/NAME/wind.txt, glass.txt and (with a member) gj.txt, where NAME is the\n"
    "position's name made safe for a file name (duplicates numbered), and DIR/summary.csv with\n"
    "one line per position in schedule order (UTF-8 with a byte order mark):\n"
    "name,wk,w,glass_ok,member_ok,ok,error and further figures.\n"
    "\n"
    "SCHEDULE is a project file (saved by the 工程 window), or a .csv or .xlsx table with one\n"
    "position per row. Its first row names the columns by design-file key (glass.te3, gj.co2,\n"
    "glass.edition, name) or by the windows' labels with or without unit (计算处标高,\n"
    "计算处标高(m)). A column left out, or a blank cell, takes the value of --base DESIGN (a\n"
    "design file). A row that names a library profile (型材系列 and 型材编号) without section\n"
    "values takes them from the profile library. CSV may be UTF-8 (with or without byte order\n"
    "mark) or GBK; of a workbook the first sheet is read.\n"
    "\n"
    "--xlsx FILE  also writes the summary as a formatted workbook (failing cells red)\n"
    "--docx FILE  also writes the project's calculation document (工程计算书) as a Word file:\n"
    "             a cover with the project's data, the contents, the summary table (failing\n"
    "             cells red), then one chapter per position in schedule order with its reports\n"
    "             and section picture, or the error that stopped it; 第 N 页 共 M 页 below\n"
    "--pdf FILE   the same document as a PDF\n"
    "--jobs N     positions computed at once (default: the number of processors); the outputs\n"
    "             are the same for any N\n"
    "\n"
    "Progress goes to standard error when it is a terminal; the last line on standard output\n"
    "is \"N 个计算位置: P 个满足, F 个不满足, E 个出错\". A row that cannot be computed is\n"
    "named with its row and column on standard error and in the error column; the others still\n"
    "run. Exit status 0 when every position was computed (whatever its verdicts), 1 when any\n"
    "had an error, 2 for bad usage or a schedule that cannot be read at all. Ctrl+C stops the\n"
    "batch without writing a summary or a document; an older one stays as it was.\n";

// Row errors shown on standard error before the rest are left to the summary.
constexpr int kShownErrors = 20;

struct BatchArguments {
    fs::path schedule;
    fs::path out;
    std::optional<fs::path> base;
    std::optional<fs::path> xlsx;
    DocumentOutputs document;
    int jobs = 0;
};

std::optional<int> ParseJobs(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int jobs = std::stoi(text);
    if (jobs < 1 || jobs > 256)
        return std::nullopt;
    return jobs;
}

bool AcceptsJobs(const std::string& text) {
    return ParseJobs(text).has_value();
}

std::optional<BatchArguments> ParseArguments(const std::vector<std::string>& args) {
    static const std::vector<OptionSpec> kOptions =
        WithDocumentOptions({{"--out"}, {"--base"}, {"--xlsx"}, {"--jobs", true, AcceptsJobs}});
    const ParsedArguments read = cli::ParseArguments(args, kOptions);
    if (read.error) {
        const std::string& arg = read.error->argument;
        switch (read.error->problem) {
            case ArgumentProblem::MissingValue:
                std::cerr << "quoinry batch: " << arg << " needs a value\n";
                break;
            case ArgumentProblem::UnknownOption:
                std::cerr << "quoinry batch: unknown option '" << arg << "'\n";
                break;
            case ArgumentProblem::ExtraPositional:
                std::cerr << "quoinry batch: more than one schedule\n";
                break;
            case ArgumentProblem::BadValue:
                std::cerr << "quoinry batch: --jobs wants a whole number from 1 to 256, not '"
                          << read.error->value << "'\n";
                break;
        }
        return std::nullopt;
    }
    BatchArguments parsed;
    if (const std::string* jobs = read.Value("--jobs"))
        parsed.jobs = *ParseJobs(*jobs);
    if (!read.positional) {
        std::cerr << "quoinry batch: no schedule given\n";
        return std::nullopt;
    }
    const std::string* out = read.Value("--out");
    if (out == nullptr) {
        std::cerr << "quoinry batch: --out DIR is missing\n";
        return std::nullopt;
    }
    parsed.schedule = *read.positional;
    parsed.out = *out;
    if (const std::string* base = read.Value("--base"))
        parsed.base = *base;
    if (const std::string* xlsx = read.Value("--xlsx"))
        parsed.xlsx = *xlsx;
    parsed.document = DocumentOutputsOf(read);
    if (parsed.base && ScheduleKindOf(parsed.schedule) == ScheduleKind::Project) {
        std::cerr << "quoinry batch: --base is for .csv and .xlsx schedules; the positions of a "
                     "project file are whole designs\n";
        return std::nullopt;
    }
    if (parsed.jobs == 0)
        parsed.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return parsed;
}

// The batch's own files against the files it reads; an input where a position's report would
// go is refused too, whatever the position's name.
std::string RefuseBatchOutputs(const BatchArguments& arguments) {
    std::vector<NamedFile> inputs{{"计划表", arguments.schedule}};
    if (arguments.base)
        inputs.push_back({"--base", *arguments.base});
    for (const NamedFile& input : inputs) {
        for (const char* report : kReportFiles) {
            if (input.path.filename() == report &&
                SameFile(fs::absolute(input.path).parent_path().parent_path(), arguments.out))
                return "输入文件 " + input.path.string() + "(" + input.role +
                       ")在输出文件夹的报告位置上,会被覆盖;请把它移出 " + arguments.out.string();
        }
    }
    std::vector<NamedFile> outputs{{"汇总表", arguments.out / kSummaryFile}};
    if (arguments.xlsx)
        outputs.push_back({"--xlsx", *arguments.xlsx});
    for (NamedFile& output : DocumentOutputFiles(arguments.document))
        outputs.push_back(std::move(output));
    return RefuseOutputs(inputs, outputs);
}

// The database's profile library, loaded with the Qt module only when a row needs it.
class ModuleProfileLibrary : public ProfileLibrary {
  public:
    LibraryLookup Find(const std::string& series, const std::string& number) override {
        if (!tried_) {
            tried_ = true;
            std::string error;
            // Beside the executable in a build, under lib/quoinry when installed.
            const auto module = QtModuleFile();
            using Factory = ProfileLibrary* (*)();
            auto factory = reinterpret_cast<Factory>(
                platform::LoadModuleFunction(module, "QuoinryNewProfileLibrary", error));
            if (factory == nullptr)
                error_ = "无法载入数据库模块: " + error;
            else
                library_.reset(factory());
        }
        if (!library_)
            return {std::nullopt, error_};
        return library_->Find(series, number);
    }

  private:
    bool tried_ = false;
    std::string error_;
    std::unique_ptr<ProfileLibrary> library_;
};

std::atomic<bool> g_stop{false};
volatile sig_atomic_t g_signal = 0;

extern "C" void OnStopSignal(int signal) {
    g_signal = signal;
    g_stop.store(true);
}

// Ctrl+C and SIGTERM stop the batch cleanly once; a second one ends it at once.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

class ConsoleObserver : public BatchObserver {
  public:
    // `chapters`, when given, collects the project document as positions are done.
    ConsoleObserver(bool progress, std::optional<int> total, ProjectChapters* chapters)
        : progress_(progress), total_(total), chapters_(chapters), start_(Clock::now()) {}

    void Computed(const Position* position, const PositionOutcome& outcome) override {
        if (chapters_ != nullptr)
            chapters_->Add(position, outcome);
    }

    void Warning(const std::string& text) override {
        ClearProgress();
        std::cerr << text << '\n';
    }

    void Done(int done, const PositionOutcome& outcome) override {
        if (outcome.verdict == PositionVerdict::Error) {
            if (++errors_ <= kShownErrors) {
                ClearProgress();
                const std::string& name = outcome.label.name;
                std::cerr << "错误: " << (name.empty() ? "" : name + ": ") << outcome.error << '\n';
            } else if (errors_ == kShownErrors + 1) {
                ClearProgress();
                std::cerr << "更多出错的位置见 " << kSummaryFile << " 的 error 列\n";
            }
        }
        if (progress_)
            ShowProgress(done);
    }

    void Finish() { ClearProgress(); }

  private:
    using Clock = std::chrono::steady_clock;

    void ShowProgress(int done) {
        const auto now = Clock::now();
        if (now - last_ < std::chrono::milliseconds(200) && (!total_ || done != *total_))
            return;
        last_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double rate = seconds > 0 ? done / seconds : 0;
        char line[160];
        if (total_ && *total_ > 0) {
            const double left = rate > 0 ? (*total_ - done) / rate : 0;
            std::snprintf(line, sizeof line, "\r已计算 %d/%d 个位置  %.0f 个/秒  约剩 %.0f 秒 ",
                          done, *total_, rate, left);
        } else {
            std::snprintf(line, sizeof line, "\r已计算 %d 个位置  %.0f 个/秒 ", done, rate);
        }
        std::cerr << line << std::flush;
        shown_ = true;
    }

    void ClearProgress() {
        if (shown_) {
            std::cerr << "\r\033[K" << std::flush;
            shown_ = false;
        }
    }

    bool progress_;
    std::optional<int> total_;
    ProjectChapters* chapters_;
    Clock::time_point start_;
    Clock::time_point last_{};
    bool shown_ = false;
    int errors_ = 0;
};

// WriteProjectDocument's status when Ctrl+C came before anything was written.
constexpr int kDocumentStopped = 3;

// Composes the project document from the positions' folders and writes it; returns the exit
// status (1: a report could not be read back or a file not written; nothing new is left).
int WriteProjectDocument(const ProjectInfo& info, const ProjectChapters& chapters,
                         const fs::path& out, const DocumentOutputs& outputs) {
    try {
        const ProjectDocumentParts project(info, chapters, out, TodayText());
        const int status = WriteDocumentOutputs(project, outputs, &g_stop);
        if (g_stop)
            return kDocumentStopped;
        for (const std::string& warning : project.warnings()) std::cerr << warning << '\n';
        return status;
    } catch (const document::DocumentError& error) {
        std::cerr << document::ErrorLine(error)
                  << "\n没有写出工程计算书;请再运行一次 quoinry batch\n";
        return 1;
    }
}

}  // namespace

int BatchCommand(const std::vector<std::string>& args) {
    if (AsksForHelp(args)) {
        std::cout << kHelp;
        return 0;
    }
    const std::optional<BatchArguments> arguments = ParseArguments(args);
    if (!arguments) {
        std::cerr << kUsage << "  (quoinry batch --help)\n";
        return 2;
    }
    std::optional<Design> base;
    if (arguments->base) {
        try {
            DesignFileReading reading = ReadDesignFile(*arguments->base);
            for (const std::string& warning : reading.warnings) std::cerr << warning << '\n';
            base = std::move(reading.design);
        } catch (const DesignFileError& error) {
            std::cerr << error.what() << '\n';
            return 2;
        }
    }
    const bool progress = ::isatty(STDERR_FILENO) != 0;
    ModuleProfileLibrary library;
    std::unique_ptr<PositionSource> source;
    std::optional<int> total;
    try {
        if (progress)
            total = CountPositions(arguments->schedule);
        const std::string base_label =
            arguments->base ? "基础设计 " + arguments->base->filename().string() : std::string();
        source = OpenPositionSource(arguments->schedule, base, base_label, &library);
    } catch (const std::runtime_error& error) {  // ScheduleError, ProjectFileError
        std::cerr << error.what() << '\n';
        return 2;
    }
    if (const std::string refused = RefuseBatchOutputs(*arguments); !refused.empty()) {
        std::cerr << "quoinry batch: " << refused << '\n';
        return 2;
    }
    BatchOptions options{arguments->out, arguments->xlsx, arguments->jobs};
    for (const NamedFile& output : DocumentOutputFiles(arguments->document))
        options.reserved_names.push_back(output.path.filename().string());
    std::optional<ProjectChapters> chapters;
    if (!arguments->document.empty())
        chapters.emplace();
    ConsoleObserver observer(progress, total, chapters ? &*chapters : nullptr);
    CatchStopSignals();
    BatchOutcome outcome;
    try {
        outcome = RunBatch(*source, options, observer, g_stop);
    } catch (const ScheduleError& error) {
        observer.Finish();
        std::cerr << error.what() << '\n';
        return 2;
    } catch (const BatchError& error) {
        observer.Finish();
        std::cerr << "quoinry batch: " << error.what() << '\n';
        return 1;
    }
    observer.Finish();
    int document_status = 0;
    if (chapters && !outcome.interrupted) {
        if (progress)
            std::cerr << "正在写工程计算书…" << std::flush;
        document_status =
            WriteProjectDocument(source->Info(), *chapters, arguments->out, arguments->document);
        if (progress)
            std::cerr << "\r\033[K" << std::flush;
    }
    if (outcome.interrupted || document_status == kDocumentStopped) {
        if (outcome.interrupted)
            std::cerr << "已中断: 已算完 " << outcome.counts.positions << " 个位置,没有写出汇总表"
                      << (chapters ? "和工程计算书" : "") << "\n";
        else
            std::cerr << "已中断: 汇总表已写出,没有写出工程计算书\n";
        const int signal = g_signal != 0 ? static_cast<int>(g_signal) : SIGINT;
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return 1;
    }
    if (!outcome.broken_off.empty())
        std::cerr << "错误: " << outcome.broken_off << '\n';
    const BatchCounts& counts = outcome.counts;
    std::cout << counts.positions << " 个计算位置: " << counts.passed << " 个满足, "
              << counts.failed << " 个不满足, " << counts.errors << " 个出错" << std::endl;
    return counts.errors > 0 || !outcome.broken_off.empty() || document_status != 0 ? 1 : 0;
}

}  // namespace quoinry::cli
