#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quoinry::cli {

// An option of a command: a flag, or an option followed by a value (a file, a folder, a number).
struct OptionSpec {
    std::string_view name;  // "--out"
    bool takes_value = true;
    // Whether a value will do; checked as the value comes, so that the first fault is named.
    bool (*accepts)(const std::string& value) = nullptr;
};

// What stopped the reading of a command's arguments, in the order the arguments came.
enum class ArgumentProblem {
    MissingValue,     // an option that takes a value is last, or its value is empty
    UnknownOption,    // starts with '-' (a lone "-" is a name) and is not in the command's table
    ExtraPositional,  // a second name where the command takes one
    BadValue,         // the option's `accepts` refused its value
};

struct ArgumentError {
    ArgumentProblem problem;
    std::string argument;  // the option, or the name that is one too many
    std::string value;     // with BadValue
};

// A command's arguments read against its table of options. An option given twice keeps its
// last value, as before the table existed.
struct ParsedArguments {
    std::optional<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> flags;
    std::optional<ArgumentError> error;

    const std::string* Value(std::string_view option) const;
    bool Flag(std::string_view option) const;
};

// How a command tells options from names; the older `section` keeps its own reading.
struct ArgumentRules {
    std::string_view option_prefix = "-";  // a lone "-" is always a name
    bool empty_value_is_missing = true;
};

// Reads `args` (after the command's name) until the first problem.
ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               std::span<const OptionSpec> options, ArgumentRules rules = {});

}  // namespace quoinry::cli
