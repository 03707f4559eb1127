#include "window/picture_export.h"

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace window
{

QString WritePicture(const Picture &picture, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QSize size = picture.size;
    bool written = true;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(picture.title);
        svg.setDescription(picture.description);
        QPainter painter(&svg);
        picture.render(painter, size);
    } else {
        QImage image(size * picture.ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(picture.ratio);
        QPainter painter(&image);
        picture.render(painter, size);
        painter.end();
        written = image.save(&file, "PNG");
    }
    if (!written || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() || reason == QStringLiteral("Unknown error")
            ? QStringLiteral("the picture could not be written")
            : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool SavePictureTo(QWidget *parent, const Picture &picture, const QString &path)
{
    const QString reason = WritePicture(picture, path);
    if (reason.isEmpty())
        return true;
    QMessageBox::critical(parent,
        QStringLiteral("Chart not saved"),
        QStringLiteral("The chart could not be saved to %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void SavePictureAs(QWidget *parent, const QString &suggested, const std::function<bool(const QString &path)> &save)
{
    QString selected;
    QString path = QFileDialog::getSaveFileName(parent,
        QStringLiteral("Save Chart"),
        suggested,
        QStringLiteral("SVG image (*.svg);;PNG image (*.png)"),
        &selected);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)
        && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += selected.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png") : QStringLiteral(".svg");
    save(path);
}

} // namespace window
