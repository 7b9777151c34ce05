#include "design/input_check.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "common/report.h"
#include "common/text.h"
#include "member/member_form.h"

namespace quoinry {
namespace {

constexpr double kSmallestPaneSide = 100.0;  // mm

std::optional<double> WholeNumber(std::string_view text) {
    try {
        return ParseStrict(text);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

// The numbers a number rule admits for a field: above (or from) `low` up to `high`; for NonZero
// the magnitude, above 0.
struct Interval {
    double low;
    bool low_included;
    double high;
};

Interval IntervalOf(FieldRule rule, const InputField& field) {
    const PlausibleRange range = PlausibleRangeOf(field);
    switch (rule) {
        case FieldRule::NonNegative:
        case FieldRule::NoneOrNonNegative:
            return {0.0, true, range.highest};
        case FieldRule::PaneSide:
            return {std::max(range.lowest, kSmallestPaneSide), true, range.highest};
        default:
            return {range.lowest, range.lowest > 0.0, range.highest};
    }
}

bool Within(const Interval& interval, double value) {
    // A number the calculations hold in single precision as 0 (1e-300) is 0.
    if (static_cast<float>(value) == 0.0f)
        value = 0.0;
    const bool above_low = interval.low_included ? value >= interval.low : value > interval.low;
    return above_low && value <= interval.high;
}

bool Obeys(FieldRule rule, const InputField& field, const std::string& text) {
    if (rule == FieldRule::Any)
        return true;
    if (rule == FieldRule::OneOf)
        return std::find(field.choices.begin(), field.choices.end(), text) != field.choices.end();
    if (rule == FieldRule::NoneOrNonNegative && TrimBlanks(text).empty())
        return true;
    const std::optional<double> value = WholeNumber(text);
    if (!value)
        return false;
    return Within(IntervalOf(rule, field), rule == FieldRule::NonZero ? std::abs(*value) : *value);
}

std::string NumberRequirement(FieldRule rule, const InputField& field) {
    const Interval interval = IntervalOf(rule, field);
    const std::string high = GeneralText(interval.high);
    if (rule == FieldRule::NonZero)
        return Cat("应为不等于0且绝对值不大于", high, "的数");
    if (rule == FieldRule::NoneOrNonNegative)
        return Cat("应为空或不小于0且不大于", high, "的数");
    return Cat("应为", interval.low_included ? "不小于" : "大于", GeneralText(interval.low),
               "且不大于", high, "的数");
}

std::string Requirement(FieldRule rule, const InputField& field) {
    if (rule == FieldRule::OneOf) {
        std::string list;
        for (std::string_view choice : field.choices) list += Cat(list.empty() ? "" : "、", choice);
        return Cat("应为", list, "之一");
    }
    const std::string_view hint = PlausibleRangeOf(field).hint;
    const std::string requirement = NumberRequirement(rule, field);
    return hint.empty() ? requirement : Cat(requirement, "(", hint, ")");
}

// Checks the fields of one step against their rules, in the order asked.
class Checker {
  public:
    explicit Checker(Design design, bool horizontal_member = false,
                     const CodeEdition* edition = nullptr)
        : design_(std::move(design)), horizontal_(horizontal_member), edition_(edition) {}

    void Check(std::string_view section, std::string_view key) {
        const InputField& field = *FindInputField(section, key);
        const FieldRule rule = RuleOf(field, horizontal_);
        const std::string text = FieldText(design_, field);
        if (!Obeys(rule, field, text))
            Refuse(field, text, Requirement(rule, field));
    }

    // A member carried by no load unit at all: both boxes hold numbers and both are 0.
    void CheckSomeLoad(std::string_view unit_key, std::string_view other_key) {
        const InputField& unit = *FindInputField("gj", unit_key);
        const InputField& other = *FindInputField("gj", other_key);
        const std::string text = FieldText(design_, unit);
        if (WholeNumber(text) == 0.0 && WholeNumber(FieldText(design_, other)) == 0.0)
            Refuse(unit, text, Cat("与", FieldCaption(other, horizontal_, edition_), "不能都为0"));
    }

    // A horizontal member's second load unit is Hsk - Hsk1: a negative one would take load off.
    void CheckSecondUnit() {
        const InputField& total = *FindInputField("gj", "te3");
        const InputField& first = *FindInputField("gj", "te4");
        const std::string total_text = FieldText(design_, total);
        const std::string first_text = FieldText(design_, first);
        const std::optional<double> total_value = WholeNumber(total_text);
        const std::optional<double> first_value = WholeNumber(first_text);
        if (Refused(total) || Refused(first) || Refused(*FindInputField("gj", "co1")))
            return;
        if (total_value && first_value && *total_value < *first_value) {
            Refuse(total, total_text,
                   Cat("小于", FieldCaption(first, horizontal_, edition_), "“", first_text,
                       "”:第二受荷单元高Hsk2=Hsk-Hsk1不能为负"));
        }
    }

    std::vector<InputRefusal> Take() { return std::move(refusals_); }

  private:
    bool Refused(const InputField& field) const {
        return std::any_of(refusals_.begin(), refusals_.end(),
                           [&](const InputRefusal& r) { return r.field == &field; });
    }

    void Refuse(const InputField& field, const std::string& text, const std::string& why) {
        refusals_.push_back(
            {&field, Cat(FieldCaption(field, horizontal_, edition_), ": “", text, "” ", why)});
    }

    Design design_;
    bool horizontal_;
    const CodeEdition* edition_;
    std::vector<InputRefusal> refusals_;
};

Checker MemberChecker(const MemberInput& input) {
    const bool horizontal = !MemberFormOf(input.form).vertical;
    Design design;
    design.member.emplace(input);
    return Checker(std::move(design), horizontal);
}

// The load units: Wsk1 and Wsk2 of a vertical member, Hsk1 and Hsk - Hsk1 of a horizontal one.
void CheckSomeLoad(Checker& checker, const MemberInput& input) {
    if (MemberFormOf(input.form).vertical) {
        checker.CheckSomeLoad("te2", "te3");
    } else {
        checker.CheckSomeLoad("te4", "te3");
        checker.CheckSecondUnit();
    }
}

}  // namespace

std::vector<InputRefusal> CheckWindInput(const WindLoadInput& input) {
    Design design;
    design.wind = input;
    const CodeEdition* edition = FindCodeEdition(input.edition);
    Checker checker(std::move(design), false, edition);
    checker.Check("glass", "edition");
    for (const char* key : {"co3", "te1", "te2", "te3"}) checker.Check("glass", key);
    // An edition's own inputs count only in that edition: 2001 ignores the internal coefficient.
    if (edition != nullptr) {
        for (std::string_view key : edition->wind_keys) checker.Check("glass", key);
    }
    return checker.Take();
}

std::vector<InputRefusal> CheckGlassInput(const GlassInput& input) {
    Design design;
    design.glass = input;
    Checker checker(std::move(design));
    // Single glass has no inner pane: the window disables its boxes.
    const bool inner_pane = ParseGlassCategory(input.category) != GlassKind::Single;
    for (const char* key : {"co4", "co5", "co6", "co7", "co8", "te4", "te5"}) {
        const bool inner = std::string_view(key) == "co7" || std::string_view(key) == "co8";
        if (inner_pane || !inner)
            checker.Check("glass", key);
    }
    return checker.Take();
}

std::vector<InputRefusal> CheckMemberGeometry(const MemberInput& input) {
    Checker checker = MemberChecker(input);
    for (const char* key : {"co1", "te2", "te3", "te4"}) checker.Check("gj", key);
    CheckSomeLoad(checker, input);
    return checker.Take();
}

std::vector<InputRefusal> CheckMemberInput(const MemberInput& input) {
    Checker checker = MemberChecker(input);
    checker.Check("gj", "co1");
    for (int number = 1; number <= 14; ++number) checker.Check("gj", "te" + std::to_string(number));
    CheckSomeLoad(checker, input);
    return checker.Take();
}

namespace {

std::string RefusalText(const std::vector<InputRefusal>& refusals,
                        const std::optional<CalcError>& own_error) {
    std::string text = own_error ? own_error->description() : std::string();
    for (const InputRefusal& refusal : refusals)
        text += Cat(text.empty() ? "" : "\n", refusal.message);
    return text;
}

}  // namespace

InputError::InputError(std::vector<InputRefusal> refusals,
                       const std::optional<CalcError>& own_error)
    : CalcError(own_error ? own_error->kind() : ErrorKind::InvalidInput,
                RefusalText(refusals, own_error)),
      refusals_(std::move(refusals)) {}

}  // namespace quoinry
