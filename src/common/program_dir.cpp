#include "common/program_dir.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/install_layout.h"
#include "platform/executable_path.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// An XDG variable counts only as an absolute path; else the default under HOME.
fs::path XdgFolder(const std::string& variable, const std::string& home,
                   const char* default_below_home) {
    if (!variable.empty() && fs::path(variable).is_absolute())
        return fs::path(variable);
    if (!home.empty() && fs::path(home).is_absolute())
        return fs::path(home) / default_below_home;
    return {};
}

// As the process's effective user, who is the one that writes.
bool Writable(const fs::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

fs::path CreatedFolder(fs::path folder) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder;
}

// The folder of this process and the temp folder it was made in.
struct Session {
    fs::path temp;
    fs::path folder;
};

Session& CurrentSession() {
    static Session session;
    return session;
}

bool ProcessRuns(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// "<pid>-XXXXXX" folders of processes that have ended; a crash leaves them behind.
void RemoveAbandonedSessions(const fs::path& temp) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(temp, error)) {
        const std::string name = entry.path().filename().string();
        const std::size_t dash = name.find('-');
        if (dash == std::string::npos || dash == 0 || !entry.is_directory(error))
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str(), &end, 10);
        if (end != name.c_str() + dash || ProcessRuns(pid))
            continue;
        std::error_code ignored;
        fs::remove_all(entry.path(), ignored);
    }
}

}  // namespace

FileLocations ChooseFileLocations(const fs::path& program, bool program_writable,
                                  const XdgEnvironment& environment) {
    if (program_writable)
        return {program, program / "info.ini", program};
    const fs::path config = XdgFolder(environment.config_home, environment.home, ".config");
    const fs::path data = XdgFolder(environment.data_home, environment.home, ".local/share");
    if (config.empty() || data.empty())
        return {program, program / "info.ini", program};
    return {program, config / "quoinry" / "info.ini", data / "quoinry"};
}

std::optional<fs::path> InstalledDataFolder(const fs::path& executable_folder) {
    if (executable_folder.filename() != fs::path(kInstalledBinaryDir).filename())
        return std::nullopt;
    const fs::path data = executable_folder.parent_path() / kInstalledDataDir;
    std::error_code error;
    if (!fs::is_directory(data, error))
        return std::nullopt;
    return data;
}

namespace {

bool HomeSet() {
    const char* home = std::getenv("QUOINRY_HOME");
    return home != nullptr && *home != '\0';
}

}  // namespace

FileLocations CurrentFileLocations() {
    const fs::path program = ProgramDirectory();
    // An installation is shared: what one user writes goes to that user's folders, also when
    // the user may write into the installation (root, a prefix in the user's home).
    const bool installed =
        !HomeSet() && InstalledDataFolder(platform::ExecutablePath().parent_path()).has_value();
    return ChooseFileLocations(
        program, !installed && Writable(program),
        {Environment("XDG_CONFIG_HOME"), Environment("XDG_DATA_HOME"), Environment("HOME")});
}

fs::path ProgramDirectory() {
    if (HomeSet())
        return fs::path(std::getenv("QUOINRY_HOME"));
    const fs::path folder = platform::ExecutablePath().parent_path();
    return InstalledDataFolder(folder).value_or(folder);
}

fs::path SettingsFile() {
    const fs::path file = CurrentFileLocations().settings;
    CreatedFolder(file.parent_path());
    return file;
}

fs::path DataDirectory() {
    return CurrentFileLocations().data;
}

fs::path TempDirectory() {
    // A fresh installation has no temp folder; every calculation would fail without it.
    return CreatedFolder(DataDirectory() / "temp");
}

fs::path SectionPictureFile() {
    return TempDirectory() / "xc.wmf";
}

fs::path SessionDirectory() {
    Session& session = CurrentSession();
    const fs::path temp = TempDirectory();
    std::error_code error;
    if (session.temp == temp && fs::is_directory(session.folder, error))
        return session.folder;
    RemoveAbandonedSessions(temp);
    const std::string pattern = (temp / (std::to_string(::getpid()) + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // Without a folder of its own the reports' step names the missing folder when it writes.
    session = {temp, ::mkdtemp(name.data()) != nullptr ? fs::path(name.data())
                                                       : temp / std::to_string(::getpid())};
    return session.folder;
}

void RemoveSessionDirectory() {
    Session& session = CurrentSession();
    if (session.folder.empty())
        return;
    std::error_code ignored;
    fs::remove_all(session.folder, ignored);
    session = {};
}

}  // namespace quoinry
