#include "cli/arguments.h"

#include <algorithm>

namespace quoinry::cli {

const std::string* ParsedArguments::Value(std::string_view option) const {
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

bool ParsedArguments::Flag(std::string_view option) const {
    return std::find(flags.begin(), flags.end(), option) != flags.end();
}

ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               std::span<const OptionSpec> options, ArgumentRules rules) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto spec =
            std::find_if(options.begin(), options.end(),
                         [&](const OptionSpec& option) { return option.name == arg; });
        if (spec != options.end() && !spec->takes_value) {
            parsed.flags.push_back(arg);
        } else if (spec != options.end()) {
            if (i + 1 >= args.size() || (rules.empty_value_is_missing && args[i + 1].empty())) {
                parsed.error = ArgumentError{ArgumentProblem::MissingValue, arg, {}};
                return parsed;
            }
            const std::string& value = args[++i];
            if (spec->accepts != nullptr && !spec->accepts(value)) {
                parsed.error = ArgumentError{ArgumentProblem::BadValue, arg, value};
                return parsed;
            }
            parsed.values[arg] = value;
        } else if (arg.starts_with(rules.option_prefix) && arg != "-") {
            parsed.error = ArgumentError{ArgumentProblem::UnknownOption, arg, {}};
            return parsed;
        } else if (parsed.positional) {
            parsed.error = ArgumentError{ArgumentProblem::ExtraPositional, arg, {}};
            return parsed;
        } else {
            parsed.positional = arg;
        }
    }
    return parsed;
}

}  // namespace quoinry::cli
