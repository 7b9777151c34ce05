#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "design/position_outcome.h"
#include "project/project.h"

class QWidget;

namespace quoinry {
class ProjectChapters;
}

namespace quoinry::shell {

// What 全部计算 leaves: the outcome of each position computed, in schedule order.
struct ProjectBatchRun {
    std::vector<PositionOutcome> outcomes;
    std::string failure;   // what stopped the batch, described; empty when nothing did
    bool stopped = false;  // the user cancelled it
};

// Computes every position of `project` into `out` on the batch's threads behind a progress
// dialog that counts the positions as they are done and whose 取消 stops the batch; the project
// document's chapters go into `chapters` when given (the dialog is then titled 工程计算书).
ProjectBatchRun RunProjectBatch(QWidget* parent, const Project& project,
                                const std::filesystem::path& out, ProjectChapters* chapters);

}  // namespace quoinry::shell
