#include "shell/folders.h"

#include <QDir>
#include <QStandardPaths>
#include <array>
#include <string>

#include "common/atomic_file.h"
#include "common/file_bytes.h"
#include "common/program_dir.h"

namespace quoinry::shell {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> kKindNames = {"design", "project", "summary", "document"};

// One line a kind: "design\t/home/li/工程/3#楼".
fs::path FoldersFile() {
    return SettingsFile().parent_path() / "recent-folders.txt";
}

std::array<std::string, 4> ReadFolders() {
    std::array<std::string, 4> folders;
    const std::string text = ReadFileBytes(FoldersFile()).value_or(std::string());
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        for (std::size_t i = 0; i < kKindNames.size() && tab != std::string::npos; ++i) {
            if (line.substr(0, tab) == kKindNames[i])
                folders[i] = line.substr(tab + 1);
        }
        start = end + 1;
    }
    return folders;
}

bool Within(const fs::path& folder, const fs::path& base) {
    const fs::path relative = folder.lexically_normal().lexically_relative(base.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

// A folder to propose: one that exists, and none of the program's own.
bool Proposable(const fs::path& folder) {
    std::error_code error;
    return !folder.empty() && fs::is_directory(folder, error) && !Within(folder, TempDirectory()) &&
           !Within(folder, ProgramDirectory());
}

fs::path DocumentsFolder() {
    const fs::path documents(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    std::error_code error;
    if (!documents.empty() && fs::is_directory(documents, error))
        return documents;
    return fs::path(QDir::homePath().toStdString());
}

}  // namespace

fs::path ProposedFolder(FileKind kind, const std::optional<fs::path>& open_file) {
    // The engineer put the design or project there: its documents belong beside it.
    if (open_file && open_file->has_parent_path())
        return open_file->parent_path();
    const fs::path last(ReadFolders()[static_cast<std::size_t>(kind)]);
    if (Proposable(last))
        return last;
    return DocumentsFolder();
}

void RememberFolder(FileKind kind, const fs::path& chosen) {
    std::array<std::string, 4> folders = ReadFolders();
    folders[static_cast<std::size_t>(kind)] = chosen.parent_path().string();
    std::string text;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (!folders[i].empty() && folders[i].find('\n') == std::string::npos)
            text += std::string(kKindNames[i]) + "\t" + folders[i] + "\n";
    }
    // A folder not remembered only costs the engineer a click.
    (void)WriteFileAtomically(FoldersFile(), text);
}

}  // namespace quoinry::shell
