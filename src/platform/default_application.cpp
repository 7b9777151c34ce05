#include "platform/default_application.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <system_error>

namespace quoinry::platform {
namespace {

constexpr int kStartedStatus = 0;
constexpr int kFailedStatus = 1;
// xdg-open that is still busy after this long has found an application that keeps it waiting.
constexpr int kAnswerWaitMilliseconds = 3000;
constexpr int kPollMilliseconds = 20;

std::filesystem::path FindInPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        if (!dir.empty()) {
            std::filesystem::path candidate = std::filesystem::path(dir) / program;
            if (access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (colon == std::string_view::npos)
            return {};
        dirs.remove_prefix(colon + 1);
    }
}

void SilenceStandardStreams() {
    const int null = open("/dev/null", O_RDWR);
    if (null < 0)
        return;
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    if (null > STDERR_FILENO)
        close(null);
}

// Runs in the intermediate child, so only async-signal-safe calls: it starts the opener, waits
// briefly for its verdict and leaves a still-running opener to init.
[[noreturn]] void StartOpener(const char* opener, const char* file) {
    setsid();
    SilenceStandardStreams();
    const pid_t child = fork();
    if (child < 0)
        _exit(kFailedStatus);
    if (child == 0) {
        execl(opener, opener, file, static_cast<char*>(nullptr));
        _exit(127);
    }
    const timespec poll{0, kPollMilliseconds * 1000000L};
    for (int waited = 0; waited < kAnswerWaitMilliseconds; waited += kPollMilliseconds) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            _exit(ok ? kStartedStatus : kFailedStatus);
        }
        nanosleep(&poll, nullptr);
    }
    _exit(kStartedStatus);
}

}  // namespace

bool OpenWithDefaultApplication(const std::filesystem::path& file) {
    const std::filesystem::path opener = FindInPath("xdg-open");
    if (opener.empty())
        return false;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::string target = error ? file.string() : absolute.lexically_normal().string();

    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0)
        StartOpener(opener.c_str(), target.c_str());
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == kStartedStatus;
}

}  // namespace quoinry::platform
