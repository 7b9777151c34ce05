#pragma once

#include <QString>
#include <QTableWidget>

#include "project/project_model.h"

namespace quoinry::shell {

// The project window's table of positions: a row per position of the model with its inputs
// and the outcome of its last computation, failing rows red.
class PositionTable {
  public:
    enum Column {
        kName,
        kHeight,
        kPane,
        kGlass,
        kMember,
        kProfile,
        kWk,
        kGlassVerdict,
        kMemberVerdict,
        kVerdict,
        kColumnCount
    };

    // The table widget (objectName PositionTable), a child of `parent`.
    explicit PositionTable(QWidget* parent);
    QTableWidget* widget() const { return table_; }

    void Show(const ProjectModel& model);
    // "3 个计算位置: 1 个满足, 1 个不满足, 1 个出错", and how many are not computed.
    static QString StatusText(const ProjectModel& model);

  private:
    void ShowRow(const ProjectModel& model, int row);

    QTableWidget* table_;
};

}  // namespace quoinry::shell
