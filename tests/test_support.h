#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "common/report.h"

namespace quoinry::testing_support {

inline bool HasLine(const ReportLines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Runs a calculation that must fail; returns the error kind and leaves the partial report.
template <typename Call>
ErrorKind ErrorOf(Call&& call) {
    try {
        call();
    } catch (const CalcError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorKind::PathFileAccess;
}

}  // namespace quoinry::testing_support
