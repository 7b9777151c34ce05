#include "db/sample_profiles.h"

#include <algorithm>
#include <string>
#include <utility>

#include "db/tab_fields.h"

namespace quoinry::db {
namespace {

const EmbeddedFile* FindFile(std::span<const EmbeddedFile> files, std::string_view name) {
    const auto found = std::find_if(files.begin(), files.end(),
                                    [&](const EmbeddedFile& file) { return file.name == name; });
    return found == files.end() ? nullptr : &*found;
}

}  // namespace

std::vector<SampleProfile> ParseSampleProfiles(std::string_view tsv,
                                               std::span<const EmbeddedFile> files) {
    constexpr std::size_t kFields = 2 + 15 + 1;
    std::vector<SampleProfile> profiles;
    bool header = true;
    while (!tsv.empty()) {
        const std::size_t end = tsv.find('\n');
        std::string_view line = tsv.substr(0, end);
        tsv.remove_prefix(end == std::string_view::npos ? tsv.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (std::exchange(header, false) || line.empty())
            continue;
        const std::vector<std::string_view> fields = SplitTabs(line);
        if (fields.size() < kFields)
            continue;
        const EmbeddedFile* picture = FindFile(files, fields[kFields - 1]);
        if (picture == nullptr)
            continue;
        SampleProfile profile;
        profile.texts.series = std::string(fields[0]);
        profile.texts.number = std::string(fields[1]);
        for (std::size_t i = 0; i < profile.texts.values.size(); ++i)
            profile.texts.values[i] = std::string(fields[2 + i]);
        profile.picture.assign(picture->bytes.begin(), picture->bytes.end());
        profiles.push_back(std::move(profile));
    }
    return profiles;
}

const std::vector<SampleProfile>& BuiltInSampleProfiles() {
    static const std::vector<SampleProfile> profiles = [] {
        const EmbeddedFile* table = FindFile(SampleProfileFiles(), "profiles.tsv");
        return table == nullptr ? std::vector<SampleProfile>{}
                                : ParseSampleProfiles(table->bytes, SampleProfileFiles());
    }();
    return profiles;
}

}  // namespace quoinry::db
