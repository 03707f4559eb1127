#include "window/copy_table.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace window
{

QAction *NewCopyTableAction(QObject *parent)
{
    auto *copy = new QAction(QStringLiteral("&Copy Table"), parent);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    return copy;
}

void CopyRolls(std::span<const dice::Column> columns)
{
    if (columns.empty())
        return;
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(dice::RollsTableText(columns, ',', "\r\n")));
    mime->setText(QString::fromStdString(dice::RollsTableText(columns, '\t', "\n")));
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace window
