#include "pdf/document_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <map>
#include <mutex>

#include "document/document_error.h"

namespace quoinry::pdf {

QString DocumentFontFamily(const std::filesystem::path& file) {
    static std::mutex mutex;
    static std::map<std::filesystem::path, QString> loaded;
    const std::lock_guard lock(mutex);
    if (const auto found = loaded.find(file); found != loaded.end())
        return found->second;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file.string()));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty())
        throw document::DocumentError(document::DocumentProblem::FontMissing, file);
    // A collection holds the font for several regions; the mainland one has the simplified forms.
    const QString family = families.contains(QString::fromLatin1(kDocumentFontFamily))
                               ? QString::fromLatin1(kDocumentFontFamily)
                               : families.front();
    loaded[file] = family;
    return family;
}

QFont DocumentFont(const QString& family, double points) {
    QFont font(family);
    font.setStyleStrategy(kDocumentFontStrategy);
    font.setPointSizeF(points);
    return font;
}

}  // namespace quoinry::pdf
