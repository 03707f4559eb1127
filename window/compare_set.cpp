// The Compare window's rolls, target and view as one set, for the files that
// keep it, and text pasted into a roll box with a roll on each line.
#include "window/compare.h"

#include "window/compare_row.h"
#include "window/compare_settings.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace window
{

compare::RollSet CompareWindow::Set() const
{
    compare::RollSet set;
    for (const auto &row : m_rows)
        set.rolls.push_back(row->edit->text().toStdString());
    set.target = compare::Target { m_target->value(), static_cast<compare::View>(m_sense->currentData().toInt()) };
    set.view = m_shown.ViewShown();
    return set;
}

void CompareWindow::ShowSet(const compare::RollSet &set)
{
    const CompareState defaults;
    m_loading = true;
    while (RollCount() > 1)
        RemoveRoll(RollCount() - 1);
    const compare::Target target = set.target.value_or(defaults.target);
    m_target->setValue(static_cast<int>(target.total));
    m_sense->setCurrentIndex(m_sense->findData(static_cast<int>(target.sense)));
    const std::size_t count = std::min(set.rolls.size(), static_cast<std::size_t>(kMostRolls));
    RollEdit(0)->setText(count > 0 ? QString::fromStdString(set.rolls[0]) : QString());
    for (std::size_t i = 1; i < count; ++i)
        AddRoll(QString::fromStdString(set.rolls[i]));
    SetView(set.view.value_or(defaults.view));
    m_loading = false;
    TargetEdited();
    GrowWithRows();
    RollEdit(0)->setFocus();
}

void CompareWindow::SetRemembered(bool remembered)
{
    m_remembered = remembered;
    if (remembered)
        Remember();
}

QSettings &CompareWindow::Settings() const
{
    return *m_settings;
}

CompareFiles *CompareWindow::Files() const
{
    return m_files;
}

bool CompareWindow::SplitLines(Row &row)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    const QString text = row.edit->text();
    if (!text.contains(lineBreak))
        return false;
    QStringList lines;
    for (const QString &line : text.split(lineBreak)) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    const auto at = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto &each) { return each.get() == &row; });
    int place = static_cast<int>(at - m_rows.begin());
    // Lines past the last row the window holds have nowhere to go.
    for (int i = 1; i < lines.size() && RollCount() < kMostRolls; ++i) {
        AddRoll(lines[i]);
        ++place;
        std::rotate(m_rows.begin() + place, m_rows.end() - 1, m_rows.end());
        m_rowsLayout->removeWidget(m_rows[static_cast<std::size_t>(place)]->widget);
        m_rowsLayout->insertWidget(place, m_rows[static_cast<std::size_t>(place)]->widget);
    }
    Renumber();
    // Its own line last, so that this row is counted once, without the breaks.
    row.edit->setText(lines.value(0));
    Refresh();
    return true;
}

} // namespace window
