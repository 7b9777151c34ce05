#pragma once

#include <memory>

#include "db/connection.h"
#include "design/library_profile.h"

namespace quoinry::db {

// The profile library of the engineering database, for a batch: opened on the first lookup;
// when it cannot be opened every lookup says why.
class DatabaseProfileLibrary : public ProfileLibrary {
  public:
    LibraryLookup Find(const std::string& series, const std::string& number) override;

  private:
    Connection connection_;
    bool tried_ = false;
    std::string open_error_;
};

}  // namespace quoinry::db
