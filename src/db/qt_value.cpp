#include "db/qt_value.h"

#include <QByteArray>

namespace quoinry::db {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant ToVariant(const Value& value) {
    struct Visitor {
        QVariant operator()(std::monostate) const { return QVariant(); }
        QVariant operator()(std::int64_t v) const { return QVariant(static_cast<qlonglong>(v)); }
        QVariant operator()(double v) const { return QVariant(v); }
        QVariant operator()(const std::string& v) const { return QVariant(ToQString(v)); }
        QVariant operator()(const Bytes& v) const {
            return QVariant(QByteArray(reinterpret_cast<const char*>(v.data()),
                                       static_cast<qsizetype>(v.size())));
        }
    };
    return std::visit(Visitor{}, value);
}

Value FromVariant(const QVariant& v) {
    if (v.isNull())
        return std::monostate{};
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return v.toDouble();
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return static_cast<std::int64_t>(v.toLongLong());
        case QMetaType::QByteArray: {
            const QByteArray bytes = v.toByteArray();
            return Bytes(bytes.begin(), bytes.end());
        }
        default:
            return v.toString().toStdString();
    }
}

}  // namespace quoinry::db
