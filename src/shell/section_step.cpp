#include "shell/section_step.h"

#include "common/numbers.h"
#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_picture.h"
#include "profile/section_values.h"
#include "shell/form_helpers.h"
#include "shell/picture_box.h"

namespace quoinry::shell {
namespace {

void SetValue(QLineEdit* box, double value) {
    if (box != nullptr)
        box->setText(Q(GeneralText(value)));
}

// What the reader changed or left out (units, splines, centre lines, repeats), in one box.
void ShowNotes(FormHost& host, QWidget* window, const std::vector<std::string>& notes) {
    if (notes.empty())
        return;
    QString text;
    for (const std::string& note : notes) text += Q(note) + QStringLiteral("\n");
    ShowInformation(host, window, text.trimmed());
}

void FillTargets(const SectionTargets& t, const profile::ProfileValues& v) {
    SetValue(t.area, v.area_cm2);
    SetValue(t.ix, v.ix_cm4);
    SetValue(t.iy, v.iy_cm4);
    SetValue(t.wx1, v.wx1_cm3);
    SetValue(t.wx2, v.wx2_cm3);
    SetValue(t.wy1, v.wy1_cm3);
    SetValue(t.wy2, v.wy2_cm3);
    SetValue(t.sx1, v.sx1_cm3);
    SetValue(t.sx2, v.sx2_cm3);
    SetValue(t.sy1, v.sy1_cm3);
    SetValue(t.sy2, v.sy2_cm3);
}

void FillDefaults(const SectionTargets& t) {
    t.strength->setText(QString::fromLatin1(profile::kDefaultStrength));
    t.shear->setText(QString::fromLatin1(profile::kDefaultShear));
    t.modulus->setText(QString::fromLatin1(profile::kDefaultModulus));
    t.wall->setText(QString::fromLatin1(profile::kDefaultThickness));
    t.next_step->setEnabled(true);
}

}  // namespace

std::optional<MeasuredSection> RunSectionStep(FormHost& host, QWidget* window,
                                              const SectionTargets& targets) {
    const QString file = host.Services().DrawingFile(window);
    if (file.isEmpty())
        return std::nullopt;
    profile::Drawing drawing;
    std::vector<profile::Region> regions;
    const bool read = Reported(host, window, [&] {
        drawing = profile::ReadDxfDrawing(std::filesystem::path(S(file)));
        regions = profile::FindRegions(drawing.loops, drawing.origin);
        if (regions.empty())
            throw profile::SectionError("图形中没有封闭的面域");
    });
    if (!read)
        return std::nullopt;
    const auto picked = host.Services().PickRegion(window, drawing, regions);
    if (!picked)
        return std::nullopt;
    const profile::Region& region = regions[*picked];
    profile::ProfileValues values;
    if (!Reported(host, window, [&] { values = profile::MeasureProfile(region); }))
        return std::nullopt;
    ShowNotes(host, window, drawing.notes);
    FillTargets(targets, values);
    MeasuredSection measured{std::filesystem::path(S(file)).filename().string(), {}};
    Reported(host, window, [&] {
        measured.picture =
            profile::SectionPictureWmf(drawing.loops, profile::ExportWindow(region.box));
    });
    LoadMetafileBytes(targets.picture, measured.picture);
    FillDefaults(targets);
    return measured;
}

}  // namespace quoinry::shell
