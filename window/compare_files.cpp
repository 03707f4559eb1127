#include "window/compare_files.h"

#include "window/compare_plot.h"
#include "window/plot_parts.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace window
{

using rollstats::View;

namespace
{

View ReadView(const QSettings &settings, const QString &key, View fallback)
{
    const QString text = settings.value(key).toString();
    for (const View view : { View::Exactly, View::AtLeast, View::AtMost }) {
        if (text == QLatin1String(ViewName(view)))
            return view;
    }
    return fallback;
}

} // namespace

std::unique_ptr<QSettings> CompareSettings(const QString &file)
{
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pipwright"), QStringLiteral("pipwright"));
}

CompareState ReadCompareState(QSettings &settings, int mostRolls)
{
    CompareState state;
    // A file QSettings cannot read is as good as none.
    if (settings.status() != QSettings::NoError)
        return state;
    settings.beginGroup(QStringLiteral("compare"));
    const QVariant rolls = settings.value(QStringLiteral("rolls"));
    if (rolls.isValid()) {
        for (const QString &roll : rolls.toStringList()) {
            if (!roll.trimmed().isEmpty())
                state.rolls << roll.left(200);
        }
        state.rolls = state.rolls.mid(0, mostRolls);
        state.remembered = !state.rolls.isEmpty();
    }
    bool ok = false;
    const qlonglong target = settings.value(QStringLiteral("target")).toLongLong(&ok);
    if (ok && target > -1'000'000'000 && target < 1'000'000'000)
        state.target = target;
    state.sense = ReadView(settings, QStringLiteral("sense"), state.sense);
    state.view = ReadView(settings, QStringLiteral("view"), state.view);
    settings.endGroup();
    return state;
}

void WriteCompareState(QSettings &settings, const CompareState &state)
{
    settings.beginGroup(QStringLiteral("compare"));
    settings.setValue(QStringLiteral("rolls"), state.rolls);
    settings.setValue(QStringLiteral("target"), static_cast<qlonglong>(state.target));
    settings.setValue(QStringLiteral("sense"), QLatin1String(ViewName(state.sense)));
    settings.setValue(QStringLiteral("view"), QLatin1String(ViewName(state.view)));
    settings.endGroup();
}

QString SaveChartFile(const ComparePlot &plot, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QSize size = plot.size();
    bool written = true;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(plot.Title());
        svg.setDescription(plot.Summary());
        QPainter painter(&svg);
        plot.Render(painter, size);
    } else {
        const qreal ratio = plot.devicePixelRatioF();
        QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        plot.Render(painter, size);
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

} // namespace window
