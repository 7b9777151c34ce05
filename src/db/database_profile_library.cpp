#include "db/database_profile_library.h"

#include "common/calc_error.h"
#include "db/database_error.h"
#include "db/location.h"
#include "db/profile_columns.h"
#include "db/profile_table.h"

namespace quoinry::db {

LibraryLookup DatabaseProfileLibrary::Find(const std::string& series, const std::string& number) {
    if (!tried_) {
        tried_ = true;
        try {
            connection_.Open(ConfiguredLocation());
        } catch (const DatabaseError& error) {
            open_error_ = error.description();
        } catch (const CalcError& error) {
            open_error_ = error.description();
        }
    }
    if (!open_error_.empty())
        return {std::nullopt, open_error_};
    try {
        ResultSet set = OpenProfile(connection_, series, number);
        if (set.AtEnd())
            return {};
        LibraryProfile profile;
        const auto fields = LibraryProfileFields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            profile.texts[i] = set.Text(fields[i].position);
        Field picture = set.Column(kPicturePosition);
        const std::int64_t size = picture.ActualSize();
        if (size > 0) {
            const Bytes bytes = picture.GetChunk(size);
            profile.picture.assign(bytes.begin(), bytes.end());
        }
        return {std::move(profile), {}};
    } catch (const DatabaseError& error) {
        return {std::nullopt, error.description()};
    } catch (const CalcError& error) {
        return {std::nullopt, error.description()};
    }
}

}  // namespace quoinry::db
