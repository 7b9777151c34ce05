#pragma once

#include <filesystem>

namespace quoinry {

// The folder of the executable, or QUOINRY_HOME when that is set. Every data file lives under it:
// mdb/, temp/, pic/, image/, help/ and info.ini.
std::filesystem::path ProgramDirectory();

// The temp folder for reports and the section picture, created when missing.
std::filesystem::path TempDirectory();

// The section picture (xc.wmf) that showing a profile or measuring a drawing writes.
std::filesystem::path SectionPictureFile();

// The settings file, info.ini.
std::filesystem::path SettingsFile();

}  // namespace quoinry
