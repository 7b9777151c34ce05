#include "shell/field_binding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "common/numbers.h"
#include "shell/form_helpers.h"

namespace quoinry::shell {
namespace {

template <typename Box>
Box* Find(QWidget* form, const InputField& field) {
    return form->findChild<Box*>(QString::fromLatin1(field.box.data(), field.box.size()));
}

}  // namespace

void FieldBinding::Connect() {
    for (const InputField& field : InputFields()) {
        if (field.section != section_)
            continue;
        if (auto* line = Find<QLineEdit>(form_, field)) {
            QObject::connect(line, &QLineEdit::textChanged, form_,
                             [this, &field](const QString& text) { Store(field, S(text)); });
        } else if (auto* list = Find<QComboBox>(form_, field)) {
            auto store = [this, &field, list] { Store(field, StoredChoice(field, TextOf(list))); };
            QObject::connect(list, &QComboBox::editTextChanged, form_, store);
            QObject::connect(list, &QComboBox::currentTextChanged, form_, store);
        } else if (auto* option = Find<QRadioButton>(form_, field)) {
            QObject::connect(option, &QRadioButton::toggled, form_,
                             [this, &field](bool on) { Store(field, on ? "True" : "False"); });
        }
    }
}

void FieldBinding::Store(const InputField& field, const std::string& text) {
    // "５０" of a Chinese input method is 50.
    if (!quiet_)
        model_.SetField(field, TakesNumber(field) ? AsciiNumberText(text) : text);
}

void FieldBinding::Show() {
    const Quiet quiet(*this);
    const Design& design = model_.design();
    for (const InputField& field : InputFields()) {
        if (field.section != section_)
            continue;
        const std::string text = FieldText(design, field);
        if (auto* line = Find<QLineEdit>(form_, field)) {
            line->setText(Q(text));
        } else if (auto* list = Find<QComboBox>(form_, field)) {
            SetText(list, ShownChoice(field, text));
        } else if (auto* option = Find<QRadioButton>(form_, field)) {
            // Exclusive options can be cleared only one by one.
            option->setAutoExclusive(false);
            option->setChecked(text == "True");
            option->setAutoExclusive(true);
        }
    }
}

}  // namespace quoinry::shell
