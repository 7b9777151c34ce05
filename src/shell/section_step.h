#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/form_host.h"

namespace quoinry::shell {

// The boxes a measured section fills in one window; a value without a box stays unwritten.
struct SectionTargets {
    QLineEdit* area = nullptr;
    QLineEdit* ix = nullptr;
    QLineEdit* iy = nullptr;
    QLineEdit* wx1 = nullptr;
    QLineEdit* wx2 = nullptr;
    QLineEdit* wy1 = nullptr;
    QLineEdit* wy2 = nullptr;
    QLineEdit* sx1 = nullptr;
    QLineEdit* sx2 = nullptr;
    QLineEdit* sy1 = nullptr;
    QLineEdit* sy2 = nullptr;
    QLabel* picture = nullptr;
    QLineEdit* strength = nullptr;
    QLineEdit* shear = nullptr;
    QLineEdit* modulus = nullptr;
    QLineEdit* wall = nullptr;
    QPushButton* next_step = nullptr;
};

// "型材计算": the user chooses a DXF drawing and clicks the region to measure; its section
// values, the picture temp/xc.wmf and the default material values go into the targets and the
// next step is enabled. Cancelling changes nothing; a drawing that cannot be used is reported.
// True when a section was measured into the targets.
bool RunSectionStep(FormHost& host, QWidget* window, const SectionTargets& targets);

}  // namespace quoinry::shell
