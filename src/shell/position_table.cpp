#include "shell/position_table.h"

#include <QHeaderView>

#include "design/result_json.h"
#include "member/member_check.h"
#include "shell/form_helpers.h"

namespace quoinry::shell {
namespace {

const QColor kFailingText(0x9C, 0x00, 0x06);
const QColor kFailingFill(0xFF, 0xC7, 0xCE);

const char* const kCaptions[PositionTable::kColumnCount] = {
    "名称", "标高(m)",   "玻璃分格(mm)", "玻璃",     "杆件",
    "型材", "Wk(kN/m²)", "玻璃校核",     "杆件校核", "结论",
};

QString VerdictText(std::optional<bool> ok) {
    if (!ok)
        return QString();
    return *ok ? QStringLiteral("满足") : QStringLiteral("不满足");
}

QString GlassText(const Design& design) {
    const GlassInput& glass = design.glass;
    QString text = Q(glass.category) + QStringLiteral(" ") + Q(glass.outer_thickness);
    const std::optional<GlassKind> kind = ParseGlassCategory(glass.category);
    if (kind && *kind != GlassKind::Single)
        text += QStringLiteral("+") + Q(glass.inner_thickness);
    return text;
}

}  // namespace

PositionTable::PositionTable(QWidget* parent) : table_(new QTableWidget(0, kColumnCount, parent)) {
    table_->setObjectName(QStringLiteral("PositionTable"));
    QStringList captions;
    for (const char* caption : kCaptions) captions << QString::fromUtf8(caption);
    table_->setHorizontalHeaderLabels(captions);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(24);
}

void PositionTable::Show(const ProjectModel& model) {
    table_->setRowCount(static_cast<int>(model.size()));
    for (std::size_t i = 0; i < model.size(); ++i) ShowRow(model, static_cast<int>(i));
    table_->resizeColumnsToContents();
}

void PositionTable::ShowRow(const ProjectModel& model, int row) {
    const std::size_t index = static_cast<std::size_t>(row);
    const Design& design = model.position(index).design;
    const std::optional<PositionOutcome>& outcome = model.result(index);
    QString cells[kColumnCount];
    cells[kName] = Q(design.info.name);
    cells[kHeight] = Q(design.wind.height);
    cells[kPane] = Q(design.glass.width) + QStringLiteral("×") + Q(design.glass.height);
    cells[kGlass] = GlassText(design);
    cells[kMember] = design.member ? Q(design.member->form) : QStringLiteral("无");
    cells[kProfile] = design.member ? Q(ProfileName(*design.member)) : QString();
    if (outcome) {
        if (outcome->wind)
            cells[kWk] = Q(FigureText(WindFigures(*outcome->wind), "wk"));
        cells[kGlassVerdict] = VerdictText(outcome->glass_ok());
        cells[kMemberVerdict] = VerdictText(outcome->member_ok());
    }
    const std::optional<bool> ok = outcome ? outcome->ok() : std::nullopt;
    const std::string& error = outcome ? outcome->error : model.position(index).error;
    bool failing = true;
    if (ok) {
        cells[kVerdict] = VerdictText(ok);
        failing = !*ok;
    } else if (outcome || !error.empty()) {
        cells[kVerdict] = QStringLiteral("出错:") + Q(error);
    } else {
        cells[kVerdict] = QStringLiteral("未计算");
        failing = false;
    }
    for (int column = 0; column < kColumnCount; ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (failing) {
            item->setForeground(kFailingText);
            item->setBackground(kFailingFill);
        }
        if (column == kVerdict && failing)
            item->setToolTip(cells[kVerdict]);
        table_->setItem(row, column, item);
    }
}

QString PositionTable::StatusText(const ProjectModel& model) {
    int passed = 0, failed = 0, errors = 0, open = 0;
    for (std::size_t i = 0; i < model.size(); ++i) {
        const std::optional<PositionOutcome>& outcome = model.result(i);
        if (!outcome && !model.position(i).error.empty())
            ++errors;
        else if (!outcome)
            ++open;
        else if (outcome->verdict == PositionVerdict::Passed)
            ++passed;
        else if (outcome->verdict == PositionVerdict::Failed)
            ++failed;
        else
            ++errors;
    }
    QString text = QStringLiteral("%1 个计算位置: %2 个满足, %3 个不满足, %4 个出错")
                       .arg(model.size())
                       .arg(passed)
                       .arg(failed)
                       .arg(errors);
    if (open > 0)
        text += QStringLiteral(", %1 个未计算").arg(open);
    return text;
}

}  // namespace quoinry::shell
