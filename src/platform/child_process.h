#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace quoinry::platform {

enum class ChildOutcome {
    kFinished,     // `output` is what the work returned
    kRefused,      // the work threw; `output` is the exception's message
    kCrashed,      // killed by a signal, out of memory, or ended without a whole answer
    kTimedOut,     // killed after the time limit
    kTooLarge,     // killed after sending more than the output limit
    kCannotStart,  // no pipe or no process; `output` says why
};

struct ChildResult {
    ChildOutcome outcome = ChildOutcome::kCrashed;
    std::string output;
};

// Runs `work` in a child process made by fork, so that a crash, a hang or runaway memory in code
// that reads untrusted files (a library that is not ours) cannot take the program or its data
// with it. Only the bytes the work returns come back. The child writes nothing else: its
// standard output and error go to /dev/null, and it ends with _exit, so it never flushes the
// parent's buffers nor closes the parent's connections. `work` must not use the parent's
// connections or windows.
ChildResult RunInChild(const std::function<std::string()>& work,
                       std::chrono::milliseconds time_limit, std::size_t output_limit);

}  // namespace quoinry::platform
