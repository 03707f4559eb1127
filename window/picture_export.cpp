#include "window/picture_export.h"

#include <QCoreApplication>
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
            ? QCoreApplication::translate("window::PictureExport", "the picture could not be written")
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
        QCoreApplication::translate("window::PictureExport", "Chart not saved"),
        QCoreApplication::translate("window::PictureExport", "The chart could not be saved to %1:\n%2")
            .arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void SavePictureAs(QWidget *parent, const QString &suggested, const std::function<bool(const QString &path)> &save)
{
    const QString svg = QCoreApplication::translate("window::PictureExport", "SVG image (*.svg)");
    const QString png = QCoreApplication::translate("window::PictureExport", "PNG image (*.png)");
    QString selected;
    QString path = QFileDialog::getSaveFileName(parent,
        QCoreApplication::translate("window::PictureExport", "Save Chart"),
        suggested,
        svg + QStringLiteral(";;") + png,
        &selected);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)
        && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += selected == png ? QStringLiteral(".png") : QStringLiteral(".svg");
    save(path);
}

} // namespace window
