#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

namespace quoinry::shell {

// The pictures of the program, drawn here rather than kept as binary files. The build writes
// the three files of the program directory with them (pic/1.jpg, image/1.jpg, image/2.jpg).

// Toolbar button 1 .. 5: new file, profiles, about, help, exit.
QIcon ToolbarIcon(int index);

// The program's icon for the desktop's menus, `size` pixels square: a window of two panes with
// the loaded member marked.
QImage ApplicationIcon(int size);

// The main window's background.
QImage BackgroundPicture(QSize size);

// The member sketches: a vertical member between two load units (Wsk1, Wsk2, Hsk), or a
// horizontal member (Wsk, Hsk, Hsk1).
QImage VerticalMemberSketch(QSize size);
QImage HorizontalMemberSketch(QSize size);

}  // namespace quoinry::shell
