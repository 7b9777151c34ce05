#pragma once

#include <span>
#include <string>
#include <string_view>

#include "design/design_file.h"
#include "edition/code_edition.h"

namespace quoinry {

// How a field's text is held: a plain text, or one of the two exclusive lower-bound options
// stored as "True"/"False".
enum class FieldKind { Text, BoundOption1, BoundOption075 };

// What a field's text must be before a calculation reads it. A number is the whole text (blanks
// around it allowed) as the strict conversion reads it.
enum class FieldRule {
    Any,                // only shown or printed
    Positive,           // a number greater than 0
    NonNegative,        // a number, 0 or more: a load unit may be empty on one side of a member
    NoneOrNonNegative,  // empty (not given), or a number of 0 or more
    NonZero,            // a number other than 0: the shape coefficient is negative under suction
    Height,             // a number greater than 0 and at most 550: the codes' tables end at 550 m
    PaneSide,  // a number of at least 100: a glass side in metres or centimetres is refused
    OneOf,     // one of the field's choices
};

// One input of a design, declared once: where it is stored (settings section and key), which
// box of which window shows it, the label and unit the user sees, and where its text lives in a
// Design. The design files, the windows' store and restore, schedule columns and the messages
// that name an input all read this table.
struct InputField {
    std::string_view section = {};  // "glass" (wind and glass window) or "gj" (member window)
    std::string_view key = {};      // "co1", "te3", "op1" ...
    std::string_view box = {};      // the control's objectName in its window
    std::string_view label = {};    // the caption the user sees ("计算处标高")
    std::string_view unit = {};     // "m", "mm", "Pa", "N/mm^2", "cm^4" ... or empty
    FieldKind kind = FieldKind::Text;
    FieldRule rule = FieldRule::Any;
    // The text of a Text field; nullptr for the bound options. A member field needs the member.
    std::string* (*text)(Design&) = nullptr;
    // The items of a list box, in the list's order; empty for a text box.
    std::span<const std::string_view> choices = {};
    // The member geometry boxes are relabelled by the member form: the horizontal member's label
    // and rule (span and load units change places).
    std::string_view horizontal_label = {};
    FieldRule horizontal_rule = FieldRule::Any;
    // The text of a key a design file or info.ini does not have (a key newer than the file).
    std::string_view default_text = {};
    // The items a list shows for its choices, in the same order, where they differ from the
    // stored texts (the code editions are stored as "2001", shown as "GB 50009-2001").
    std::span<const std::string_view> choice_items = {};
};

// Every input of the wind and glass window ([glass]) and of the member check window ([gj]), in
// the order of their keys (co1.., te1.., op1, op2, then the keys of later code editions).
std::span<const InputField> InputFields();

// The numbers a field takes in any real window, in its unit. Beyond them a text is a slip (a unit
// mistaken, "1e300", a 0.001 mm pane) that would give an absurd verdict or an overflow, never a
// design. `lowest` bounds a field that must be greater than 0 (0: no bound beyond that);
// `highest` bounds the magnitude. Every number field has one.
struct PlausibleRange {
    double lowest = 0.0;
    double highest = 0.0;
    std::string_view hint = {};  // what a refusal adds: the likely slip and how to mend it
};
PlausibleRange PlausibleRangeOf(const InputField& field);

// The field of a section and key, or nullptr.
const InputField* FindInputField(std::string_view section, std::string_view key);

// The label the user sees for the field, with its unit: "计算处标高(m)". Member geometry takes the
// label of the design's member form, and a field the code edition relabels that edition's label.
std::string FieldCaption(const InputField& field, bool horizontal_member = false,
                         const CodeEdition* edition = nullptr);

// A list's shown item for a stored text ("2012" → "GB 50009-2012 + GB 55001-2021") and back;
// a text that is not one of the choices stays as it is.
std::string ShownChoice(const InputField& field, std::string_view stored);
std::string StoredChoice(const InputField& field, std::string_view shown);

// Whether the field holds a number (its text is read by the strict conversion).
bool TakesNumber(const InputField& field);

// The rule of the field for the design's member form.
FieldRule RuleOf(const InputField& field, bool horizontal_member = false);

// The field's text in a design ("True"/"False" for the options); empty for a member field of a
// design without a member.
std::string FieldText(const Design& design, const InputField& field);

// Sets the field's text; a member field creates the member when the design has none.
void SetFieldText(Design& design, const InputField& field, std::string_view text);

}  // namespace quoinry
