#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "db/profile_table.h"
#include "db/sample_profile_data.h"

namespace quoinry::db {

struct SampleProfile {
    ProfileTexts texts;
    Bytes picture;
};

// The sample profile library a new database starts with, in table order.
const std::vector<SampleProfile>& BuiltInSampleProfiles();

// The rows of profiles.tsv (header line first: series, number, the fifteen values of positions
// 2 to 16, the picture's file name), with the pictures taken from `files`. A row whose picture is
// not among them, or that has too few fields, is left out.
std::vector<SampleProfile> ParseSampleProfiles(std::string_view tsv,
                                               std::span<const EmbeddedFile> files);

}  // namespace quoinry::db
