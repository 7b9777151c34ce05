#pragma once

// Conversions between the layer's values and Qt's, for the driver code only.

#include <QString>
#include <QVariant>
#include <string_view>

#include "db/value.h"

namespace quoinry::db {

QString ToQString(std::string_view text);
QVariant ToVariant(const Value& value);
Value FromVariant(const QVariant& value);

}  // namespace quoinry::db
