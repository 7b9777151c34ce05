#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_stamp.h"
#include "common/report.h"
#include "design/design_file.h"
#include "design/input_fields.h"

namespace quoinry {

// The wind load and the glass check of a design, with the inputs they were computed from.
struct WindGlassRun {
    WindLoadInput wind_input;
    GlassInput glass_input;
    WindLoadResult wind;
    GlassResult glass;
    ReportLines wind_lines;
    ReportLines glass_lines;
    std::string box;  // the wind and glass window's result display
};

// The member check of a design, with its inputs, its picture and the wind it used.
struct MemberRun {
    MemberInput input;
    std::string picture;
    double wk = 0.0;        // Wk of the wind result it used
    float height_m = 0.0f;  // that result's height
    bool insulating = false;
    MemberResult result;
    ReportLines lines;
    std::string box;  // the member check window's result box
};

// A step asked for before the step it needs is current.
class StepOrderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one design the program works on: what both calculation windows edit, what is saved and
// opened, and what the calculation document is made from. Results are kept with the inputs
// they came from; a result whose inputs changed since is stale, and a member result is stale as
// soon as the wind result it used is stale, gone or another one.
class DesignModel {
  public:
    // Called after every change of the design, its file or its results.
    void OnChange(std::function<void()> listener) { listener_ = std::move(listener); }

    const Design& design() const { return design_; }
    const std::optional<std::filesystem::path>& file() const { return file_; }
    // The design differs from the one last opened, saved or made new.
    bool IsModified() const { return !(design_ == saved_); }
    // The design's name, else its file's name, else "未命名设计".
    std::string Title() const;

    // A new design (no file) or an opened one: unmodified, without results.
    void Replace(Design design, std::optional<std::filesystem::path> file);
    // Writes the design file; the design is then unmodified and has that file. Throws
    // DesignFileError (the old file stays as it was).
    void Save(const std::filesystem::path& file);
    // The design's file was written by someone else since it was opened or saved here.
    bool FileChangedOnDisk() const { return file_ && ChangedSince(*file_, stamp_); }

    // A position of a project, opened for editing: unmodified, without results and without a
    // file; saving hands the design to `write_back` (the project) instead of writing a file.
    void ReplaceFromPosition(Design design, std::function<void(const Design&)> write_back);
    bool SavesToPosition() const { return static_cast<bool>(write_back_); }
    // Hands the design back to its project; it is then unmodified.
    void SaveToPosition();
    // The design no longer goes back to a project (the project window closed).
    void DetachFromPosition() { write_back_ = nullptr; }

    // The inputs as they were before the last change, and again after it: every change of the
    // design's inputs, profile or information is a step (typing in one box is one step), up to
    // kUndoSteps back; opening or making a design starts afresh.
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Undo();
    void Redo();
    static constexpr std::size_t kUndoSteps = 100;
    // The changes made while one lives are one step (picking a profile fills a dozen boxes).
    class OneStep {
      public:
        explicit OneStep(DesignModel& model) : model_(model) {
            if (model_.grouped_++ == 0)
                model_.group_open_ = true;
        }
        ~OneStep() { --model_.grouped_; }
        OneStep(const OneStep&) = delete;
        OneStep& operator=(const OneStep&) = delete;

      private:
        DesignModel& model_;
    };

    void SetField(const InputField& field, std::string_view text);
    void SetInfo(const DesignInfo& info);
    // A profile of the library and its picture. A measured section is named after its drawing
    // (and series and number are emptied) until the user names it by a series or number.
    void UseLibraryProfile(std::string picture);
    void UseMeasuredSection(std::string drawing_file_name, std::string picture);

    // The wind load and the glass check into `folder` (wind.txt, glass.txt). On a CalcError the
    // design keeps no wind result, the reports after the failing step are deleted, and the error
    // goes on; `box` holds what the window shows either way.
    void ComputeWindGlass(const std::filesystem::path& folder, std::string& box);
    // The member check into `folder` (gj.txt) with the current wind result; StepOrderError
    // without one. On a CalcError the design keeps no member result.
    void CheckMember(const std::filesystem::path& folder, std::string& box);
    // Pre-selection with the current wind result; StepOrderError without one.
    PreselectionResult Preselect() const;
    // The member check of `input` (the design's member with another profile's values) with the
    // current wind result, in memory: nothing when an input is refused or the check fails by
    // itself. StepOrderError without a current wind result.
    std::optional<MemberResult> CheckWithProfile(const MemberInput& input) const;

    const std::optional<WindGlassRun>& wind_glass() const { return wind_glass_; }
    const std::optional<MemberRun>& member_run() const { return member_run_; }
    bool WindGlassCurrent() const;
    bool MemberCurrent() const;
    // Every step of the design is current: the calculation document may be made.
    bool AllCurrent() const { return WindGlassCurrent() && MemberCurrent(); }

  private:
    MemberInput& Member();
    SharedValues WindValues() const;
    void Changed();
    // The design before (or after) the last step becomes the design; this one goes to `to`.
    void StepTo(std::vector<Design>& from, std::vector<Design>& to);
    // Keeps the design as it is for Undo, unless `field` was also the last one changed.
    void Remember(const InputField* field = nullptr);

    Design design_;
    Design saved_;
    std::optional<std::filesystem::path> file_;
    std::optional<FileStamp> stamp_;  // of file_ when it was opened or saved
    std::optional<WindGlassRun> wind_glass_;
    std::optional<MemberRun> member_run_;
    std::function<void()> listener_;
    std::function<void(const Design&)> write_back_;
    std::vector<Design> undo_;
    std::vector<Design> redo_;
    const InputField* last_field_ = nullptr;  // typing in one box is one step
    int grouped_ = 0;                         // OneStep objects alive
    bool group_open_ = false;                 // their step is not remembered yet
};

}  // namespace quoinry
