#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

namespace quoinry::platform {
namespace {

// The first byte of the child's answer says what the rest is.
constexpr char kResultTag = 'R';
constexpr char kRefusalTag = 'E';

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

[[noreturn]] void RunChild(const std::function<std::string()>& work, int out) {
    // A crash ends the child; the parent's crash handlers (a sanitizer's, a fuzzer's) would
    // report it as the parent's own.
    for (const int crash : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGSYS, SIGALRM})
        signal(crash, SIG_DFL);
    signal(SIGPIPE, SIG_IGN);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    std::string answer;
    try {
        answer = kResultTag + work();
    } catch (const std::bad_alloc&) {
        // Runaway memory is what damaged input does to a reader: a crash, not a refusal.
        _exit(3);
    } catch (const std::exception& e) {
        answer = kRefusalTag + std::string(e.what());
    } catch (...) {
        _exit(3);
    }
    _exit(WriteAll(out, answer) ? 0 : 2);
}

struct Reading {
    std::string bytes;
    bool timed_out = false;
    bool too_large = false;
};

// Everything the child sends until it closes the pipe, the time runs out or the limit is passed.
Reading ReadAnswer(int in, std::chrono::milliseconds time_limit, std::size_t output_limit) {
    Reading reading;
    const auto deadline = std::chrono::steady_clock::now() + time_limit;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            reading.timed_out = true;
            return reading;
        }
        pollfd wait{in, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            continue;  // the deadline check above ends it
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return reading;
        reading.bytes.append(buffer, static_cast<std::size_t>(got));
        // One byte for the tag.
        if (reading.bytes.size() > output_limit + 1) {
            reading.too_large = true;
            return reading;
        }
    }
}

int WaitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

ChildResult RunInChild(const std::function<std::string()>& work,
                       std::chrono::milliseconds time_limit, std::size_t output_limit) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0)
        return {ChildOutcome::kCannotStart, std::strerror(errno)};
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return {ChildOutcome::kCannotStart, std::strerror(error)};
    }
    if (child == 0) {
        close(pipe_ends[0]);
        RunChild(work, pipe_ends[1]);
    }
    close(pipe_ends[1]);
    Reading reading = ReadAnswer(pipe_ends[0], time_limit, output_limit);
    close(pipe_ends[0]);
    if (reading.timed_out || reading.too_large)
        kill(child, SIGKILL);
    const int status = WaitFor(child);
    if (reading.timed_out)
        return {ChildOutcome::kTimedOut, {}};
    if (reading.too_large)
        return {ChildOutcome::kTooLarge, {}};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || reading.bytes.empty())
        return {ChildOutcome::kCrashed, {}};
    const char tag = reading.bytes.front();
    reading.bytes.erase(0, 1);
    if (tag == kResultTag)
        return {ChildOutcome::kFinished, std::move(reading.bytes)};
    if (tag == kRefusalTag)
        return {ChildOutcome::kRefused, std::move(reading.bytes)};
    return {ChildOutcome::kCrashed, {}};
}

}  // namespace quoinry::platform
