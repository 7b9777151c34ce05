#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "design/input_fields.h"

namespace quoinry {

// One input a calculation will not run on: the field (the box a window marks) and the line
// that names it, e.g. "计算处标高(m): “-10” 应为大于0且不大于550的数".
struct InputRefusal {
    const InputField* field = nullptr;
    std::string message;
};

// The inputs each step reads, checked by the rules of the input table; empty when the step may
// run. The refusals come in the order of the fields' keys; a member without any load comes last.
std::vector<InputRefusal> CheckWindInput(const WindLoadInput& input);
std::vector<InputRefusal> CheckGlassInput(const GlassInput& input);
std::vector<InputRefusal> CheckMemberInput(const MemberInput& input);
// The profile pre-selection reads only the member form and the geometry.
std::vector<InputRefusal> CheckMemberGeometry(const MemberInput& input);

// A step refused for its inputs. Its description starts with the calculation's own error
// description when the calculation fails on these inputs by itself (so that "当前错误:类型不匹配"
// stays the first line), followed by one line per refused input.
class InputError : public CalcError {
  public:
    InputError(std::vector<InputRefusal> refusals, const std::optional<CalcError>& own_error);

    const std::vector<InputRefusal>& refusals() const { return refusals_; }
    // The first refused field: the box to mark and give the focus.
    const InputField& field() const { return *refusals_.front().field; }

  private:
    std::vector<InputRefusal> refusals_;
};

}  // namespace quoinry
