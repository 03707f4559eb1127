#pragma once

// Saving a plot as a picture, for the chart and the Compare window alike: SVG
// when the name ends in ".svg", else PNG, written to a temporary file beside
// the named one and renamed into place when complete, so that a failed save
// leaves nothing behind and an old picture stands until the new one is whole.

#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

namespace window
{

struct Picture {
    QSize size;
    // Device pixels to a pixel of a PNG.
    qreal ratio = 1.0;
    // The SVG's title and description.
    QString title;
    QString description;
    std::function<void(QPainter &painter, QSize size)> render;
};

// Returns why the picture could not be written, or nothing.
QString WritePicture(const Picture &picture, const QString &path);

// Writes the picture; a failure is told in a message box over parent. True
// when saved.
bool SavePictureTo(QWidget *parent, const Picture &picture, const QString &path);

// Asks for a file name, suggesting suggested, and hands it to save with the
// extension of the type chosen when it has none of its own.
void SavePictureAs(QWidget *parent, const QString &suggested, const std::function<bool(const QString &path)> &save);

} // namespace window
