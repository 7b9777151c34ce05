#pragma once

#include <filesystem>
#include <optional>

namespace quoinry::shell {

// The kinds of file the save dialogs ask for; each remembers the folder last used for it.
enum class FileKind { Design, Project, Summary, Document };

// The folder a save dialog proposes: that of the open design's or project's file, else the one
// last used for this kind, else the engineer's documents folder (the home folder without one);
// never otherwise the program directory or its temp/, where nobody looks for a document.
std::filesystem::path ProposedFolder(FileKind kind,
                                     const std::optional<std::filesystem::path>& open_file);

// Remembers the folder of a file the engineer chose for this kind (in the settings folder).
void RememberFolder(FileKind kind, const std::filesystem::path& chosen);

}  // namespace quoinry::shell
