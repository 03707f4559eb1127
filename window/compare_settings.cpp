#include "window/compare_settings.h"

#include "window/plot_access.h"

namespace window
{

using compare::View;

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
                state.rolls << roll;
        }
        state.rolls = state.rolls.mid(0, mostRolls);
        state.remembered = !state.rolls.isEmpty();
    }
    bool ok = false;
    const qlonglong target = settings.value(QStringLiteral("target")).toLongLong(&ok);
    if (ok && target > -1'000'000'000 && target < 1'000'000'000)
        state.target.total = target;
    state.target.sense = ReadView(settings, QStringLiteral("sense"), state.target.sense);
    state.view = ReadView(settings, QStringLiteral("view"), state.view);
    settings.endGroup();
    return state;
}

void WriteCompareState(QSettings &settings, const CompareState &state)
{
    settings.beginGroup(QStringLiteral("compare"));
    settings.setValue(QStringLiteral("rolls"), state.rolls);
    settings.setValue(QStringLiteral("target"), static_cast<qlonglong>(state.target.total));
    settings.setValue(QStringLiteral("sense"), QLatin1String(ViewName(state.target.sense)));
    settings.setValue(QStringLiteral("view"), QLatin1String(ViewName(state.view)));
    settings.endGroup();
}

} // namespace window
