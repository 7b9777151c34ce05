#pragma once

#include <QRectF>

#include "profile/wmf_reader.h"

class QPainter;

namespace quoinry::pdf {

// Draws a metafile's picture as vectors into `target`, keeping its proportions and centred.
// `pen_width` is in the painter's device pixels (0: the thinnest line the device draws); texts
// keep the metafile's height. An empty picture draws nothing.
void DrawMetafile(QPainter& painter, const profile::Picture& picture, const QRectF& target,
                  qreal pen_width);

}  // namespace quoinry::pdf
