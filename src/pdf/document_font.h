#pragma once

#include <QFont>
#include <QString>
#include <filesystem>

namespace quoinry::pdf {

// The Song-style font of the PDF and the print preview: AR PL UMing of Debian's
// fonts-arphic-uming, embedded in every PDF so that it looks the same everywhere.
inline constexpr const char* kDocumentFontFile = "/usr/share/fonts/truetype/arphic/uming.ttc";
inline constexpr const char* kDocumentFontFamily = "AR PL UMing CN";
// Chinese and Latin text needs no shaping: glyphs and advances straight from the font's tables
// are what shaping gives for this font, at a fraction of the time.
inline constexpr QFont::StyleStrategy kDocumentFontStrategy = QFont::PreferNoShaping;

// The document's font in `family` (from DocumentFontFamily) at `points`.
QFont DocumentFont(const QString& family, double points);

// Loads the font file once per process (a QGuiApplication must exist) and returns its family
// for simplified Chinese. Throws document::DocumentError (FontMissing) naming the file and the
// package to install when the file is missing or holds no such font.
QString DocumentFontFamily(const std::filesystem::path& file = kDocumentFontFile);

}  // namespace quoinry::pdf
