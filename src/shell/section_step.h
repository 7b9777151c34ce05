#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

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

// What a measured section leaves besides the boxes' values.
struct MeasuredSection {
    std::string drawing_file_name;  // the DXF file's name, without its folder
    std::string picture;            // the section picture, a Windows metafile
};

// "型材计算": the user chooses a DXF drawing and clicks the region to measure; its section
// values, its picture (shown in the target's box only) and the default material values go into
// the targets and the next step is enabled. Cancelling changes nothing and returns nothing; a
// drawing that cannot be used is reported.
std::optional<MeasuredSection> RunSectionStep(FormHost& host, QWidget* window,
                                              const SectionTargets& targets);

}  // namespace quoinry::shell
