// A whole design in memory (reports formatted, nothing written) and the `quoinry run` process
// end to end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/ini_file.h"
#include "design/design_file.h"
#include "glass/glass_check.h"
#include "member/member_check.h"
#include "wind/wind_load.h"

namespace {

const char* const kSample = QUOINRY_EXAMPLES "/shanghai-24f-residential.ini";

quoinry::Design SampleDesign() {
    std::ifstream in(kSample, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return quoinry::ReadDesign(quoinry::IniDocument::Parse(bytes.str()));
}

void BM_WholeDesignInMemory(benchmark::State& state) {
    const quoinry::Design design = SampleDesign();
    for (auto _ : state) {
        quoinry::SharedValues shared;
        quoinry::ReportLines wind, glass, member;
        std::string glass_box, member_box;
        quoinry::CalcWindLoad(design.wind, shared, wind, glass_box);
        quoinry::CalcGlass(design.glass, shared, glass, glass_box);
        shared.IsInsulatingGlass = design.insulating_glass;
        quoinry::CalcMember(*design.member, shared, member, member_box);
        benchmark::DoNotOptimize(member_box.data());
    }
}
BENCHMARK(BM_WholeDesignInMemory);

void BM_RunProcessEndToEnd(benchmark::State& state) {
    const auto out = std::filesystem::temp_directory_path() / "quoinry-bench-run";
    const std::string out_text = out.string();
    const char* const argv[] = {QUOINRY_EXECUTABLE, "run",  kSample, "--out",
                                out_text.c_str(),   nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        // Spawned directly, without a shell, so that only the program itself is measured.
        if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv),
                        environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("run failed");
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(out);
}
BENCHMARK(BM_RunProcessEndToEnd)->Unit(benchmark::kMillisecond);

}  // namespace
