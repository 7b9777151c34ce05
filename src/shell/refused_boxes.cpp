#include "shell/refused_boxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "shell/form_helpers.h"

namespace quoinry::shell {
namespace {

const QString kRefusedStyle = QStringLiteral("border: 2px solid #c00000; background: #ffecec;");

}  // namespace

bool RefusedBoxes::Run(FormHost& host, const std::function<void()>& step) {
    ClearAll();
    std::vector<InputRefusal> refusals;
    const bool succeeded = Reported(host, form_, [&] {
        try {
            step();
        } catch (const InputError& error) {
            refusals = error.refusals();
            if (refusals.empty())
                throw;
        }
    });
    if (!refusals.empty()) {
        // The boxes only: the calculation's own bare error ("类型不匹配") says nothing to fix.
        std::string text;
        for (const InputRefusal& refusal : refusals)
            text += (text.empty() ? "" : "\n") + refusal.message;
        ShowErrorBox(host, form_, text);
    }
    Mark(refusals);
    return succeeded && refusals.empty();
}

void RefusedBoxes::Mark(const std::vector<InputRefusal>& refusals) {
    ClearAll();
    QWidget* first = nullptr;
    for (const InputRefusal& refusal : refusals) {
        if (refusal.field == nullptr || refusal.field->section != section_)
            continue;
        const std::string_view name = refusal.field->box;
        auto* box = form_->findChild<QWidget*>(QString::fromLatin1(name.data(), name.size()));
        if (box == nullptr || IsMarked(box))
            continue;
        Marked marked{box, {}};
        auto clear = [this, box] { Clear(box); };
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            marked.edits.push_back(QObject::connect(line, &QLineEdit::textChanged, form_, clear));
        } else if (auto* list = qobject_cast<QComboBox*>(box)) {
            marked.edits.push_back(
                QObject::connect(list, &QComboBox::editTextChanged, form_, clear));
            marked.edits.push_back(
                QObject::connect(list, &QComboBox::currentIndexChanged, form_, clear));
        }
        box->setProperty("refused", true);
        box->setStyleSheet(kRefusedStyle);
        marked_.push_back(std::move(marked));
        if (first == nullptr)
            first = box;
    }
    if (first == nullptr)
        return;
    first->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(first))
        line->selectAll();
    else if (auto* list = qobject_cast<QComboBox*>(first); list != nullptr && list->lineEdit())
        list->lineEdit()->selectAll();
}

void RefusedBoxes::ClearAll() {
    while (!marked_.empty()) Clear(marked_.back().box);
}

bool RefusedBoxes::IsMarked(const QWidget* box) const {
    return std::ranges::any_of(marked_, [box](const Marked& m) { return m.box == box; });
}

void RefusedBoxes::Clear(QWidget* box) {
    const auto found =
        std::ranges::find_if(marked_, [box](const Marked& m) { return m.box == box; });
    if (found == marked_.end())
        return;
    for (const QMetaObject::Connection& edit : found->edits) QObject::disconnect(edit);
    if (found->box) {
        found->box->setProperty("refused", false);
        found->box->setStyleSheet(QString());
    }
    marked_.erase(found);
}

}  // namespace quoinry::shell
