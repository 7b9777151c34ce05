#include "platform/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace quoinry::platform {
namespace {

using namespace std::chrono_literals;

struct ChildCase {
    const char* name;
    std::function<std::string()> work;
    ChildOutcome outcome;
    std::string output;
};

TEST(RunInChild, EveryEndOfTheChildBecomesAnOutcome) {
    const std::string large(3 << 20, 'q');  // more than a pipe holds at once
    const std::vector<ChildCase> cases = {
        {"answer", [] { return std::string("abc\0d", 5); }, ChildOutcome::kFinished,
         std::string("abc\0d", 5)},
        {"empty answer", [] { return std::string(); }, ChildOutcome::kFinished, ""},
        {"large answer", [&] { return large; }, ChildOutcome::kFinished, large},
        {"answer at the limit", [] { return std::string(1000, 'x'); }, ChildOutcome::kFinished,
         std::string(1000, 'x')},
        {"answer over the limit", [] { return std::string(1001, 'x'); }, ChildOutcome::kTooLarge,
         ""},
        {"refusal", []() -> std::string { throw std::runtime_error("表 xc 第 2 行"); },
         ChildOutcome::kRefused, "表 xc 第 2 行"},
        {"segmentation fault",
         []() -> std::string {
             raise(SIGSEGV);
             return "x";
         },
         ChildOutcome::kCrashed, ""},
        {"abort", []() -> std::string { std::abort(); }, ChildOutcome::kCrashed, ""},
        {"out of memory", []() -> std::string { throw std::bad_alloc(); }, ChildOutcome::kCrashed,
         ""},
        {"exit without an answer", []() -> std::string { _exit(0); }, ChildOutcome::kCrashed, ""},
        {"hang",
         []() -> std::string {
             for (;;) pause();
         },
         ChildOutcome::kTimedOut, ""},
    };
    for (const ChildCase& c : cases) {
        const std::size_t limit = c.output.size() > 1000 ? c.output.size() : 1000;
        // A crash under the sanitizers takes a while to report.
        const auto time = c.outcome == ChildOutcome::kTimedOut ? 300ms : 60000ms;
        const ChildResult result = RunInChild(c.work, time, limit);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.output, c.output) << c.name;
    }
}

}  // namespace
}  // namespace quoinry::platform
