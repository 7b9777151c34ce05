#pragma once

#include <QLabel>
#include <QPixmap>
#include <filesystem>
#include <string_view>

namespace quoinry::shell {

// The picture boxes of the section picture are 296 × 216.
inline constexpr int kSectionPictureWidth = 296;
inline constexpr int kSectionPictureHeight = 216;

QLabel* NewPictureBox(QWidget* parent, const char* name, int width, int height);

// A Windows metafile drawn into a picture of `size`, black on white, keeping its proportions.
// A file that cannot be read gives an empty picture.
QPixmap RenderMetafile(const std::filesystem::path& file, QSize size);
QPixmap RenderMetafileBytes(std::string_view bytes, QSize size);

// Loads a metafile (section pictures) or any image file Qt reads (the sketches) into the box,
// scaled to fit. A missing or unreadable file leaves the box empty.
void LoadMetafile(QLabel* box, const std::filesystem::path& file);
// The same from the metafile's bytes; empty bytes clear the box.
void LoadMetafileBytes(QLabel* box, std::string_view bytes);
void LoadImage(QLabel* box, const std::filesystem::path& file);

}  // namespace quoinry::shell
