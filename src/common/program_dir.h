#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quoinry {

// Where the program's files are. What it only reads (pic/, image/, help/) comes from the
// program directory; what it writes (the settings file, the engineering database, temp/) goes
// there too when the program may write there, and otherwise to the user's own folders after
// the XDG base directory conventions. An installed program (bin/quoinry beside
// share/quoinry) reads from share/quoinry and always writes to the user's folders.
struct FileLocations {
    std::filesystem::path program;   // the executable's folder, or QUOINRY_HOME
    std::filesystem::path settings;  // info.ini
    std::filesystem::path data;      // holds mdb/ and temp/
};

// The environment values the choice depends on; empty when unset.
struct XdgEnvironment {
    std::string config_home;  // XDG_CONFIG_HOME
    std::string data_home;    // XDG_DATA_HOME
    std::string home;         // HOME
};

// The program directory when it is writable. Otherwise settings in $XDG_CONFIG_HOME/quoinry
// (default ~/.config/quoinry) and data in $XDG_DATA_HOME/quoinry (default ~/.local/share/quoinry);
// a relative XDG path is ignored, as the conventions say. Without any of them (no HOME) the
// program directory stays, and writing there fails with a message that names it.
FileLocations ChooseFileLocations(const std::filesystem::path& program, bool program_writable,
                                  const XdgEnvironment& environment);

// The choice for this process, made afresh on each call (QUOINRY_HOME may change in tests).
FileLocations CurrentFileLocations();

// <prefix>/share/quoinry when the executable's folder is <prefix>/bin and that folder exists: an
// installed program. Nothing for a build or a copy that keeps everything in one folder.
std::optional<std::filesystem::path> InstalledDataFolder(
    const std::filesystem::path& executable_folder);

// pic/, image/, help/: QUOINRY_HOME when that is set, else the installed data folder, else the
// executable's folder.
std::filesystem::path ProgramDirectory();

// The settings file, info.ini; its folder is created when missing.
std::filesystem::path SettingsFile();

// Where the engineering database (mdb/) and temp/ live.
std::filesystem::path DataDirectory();

// temp/ of the data directory, created when missing: the command line's default report folder
// and the calculation document of a design that has not been saved.
std::filesystem::path TempDirectory();

// temp/xc.wmf: the section picture `quoinry document` takes when given none.
std::filesystem::path SectionPictureFile();

// A folder of this process alone under temp/ ("<pid>-XXXXXX"), created on first use, for the
// reports the windows write, so that two programs running at once never write the same files.
// Folders left by processes that no longer run are removed when a new one is made.
std::filesystem::path SessionDirectory();

// Removes this process's folder and everything in it; the program calls it before it ends.
void RemoveSessionDirectory();

}  // namespace quoinry
