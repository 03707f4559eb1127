#include "window/plot_access.h"

#include "numtext/patterns.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace window
{

using compare::View;

std::optional<std::size_t> CursorAfterKey(int key, std::optional<std::size_t> cursor, std::size_t count)
{
    if (count == 0)
        return std::nullopt;
    const std::size_t last = count - 1;
    switch (key) {
    case Qt::Key_Left:
        return cursor && *cursor > 0 ? std::min(*cursor - 1, last) : 0;
    case Qt::Key_Right:
        return cursor ? std::min(*cursor + 1, last) : 0;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    default:
        return std::nullopt;
    }
}

std::string ReadoutText(View view, std::int32_t total, const std::string &percent)
{
    const char *relation = view == View::AtLeast ? ">= " : view == View::AtMost ? "<= " : "";
    return "P(" + std::string(relation) + numtext::IntegerText(total) + ") = " + percent;
}

QString Text(const std::string &text)
{
    return QString::fromStdString(text);
}

void NamePlot(QWidget &plot, const QString &name, const QString &summary, const QString &cursor, QString &announced)
{
    plot.setAccessibleName(cursor.isEmpty() ? name : cursor + QStringLiteral(", ") + name);
    plot.setAccessibleDescription(cursor.isEmpty() ? summary : cursor + QStringLiteral(". ") + summary);
    if (cursor.isEmpty() || cursor == announced)
        return;
    announced = cursor;
    QAccessibleValueChangeEvent moved(&plot, cursor);
    QAccessible::updateAccessibility(&moved);
}

const char *ViewName(View view)
{
    switch (view) {
    case View::AtLeast:
        return "at least";
    case View::AtMost:
        return "at most";
    default:
        return "exactly";
    }
}

QHBoxLayout *ViewButtons(QWidget *parent, QButtonGroup *group)
{
    auto *views = new QHBoxLayout;
    views->addWidget(new QLabel(QStringLiteral("View:"), parent));
    for (const auto &[caption, view] : { std::pair { "&Exactly", View::Exactly },
             std::pair { "At &least", View::AtLeast },
             std::pair { "At &most", View::AtMost } }) {
        auto *button = new QRadioButton(QString::fromLatin1(caption), parent);
        group->addButton(button, static_cast<int>(view));
        views->addWidget(button);
    }
    views->addStretch();
    return views;
}

} // namespace window
