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

void CopyTableText(const std::function<std::string(char separator, std::string_view lineEnd)> &text)
{
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(text(',', "\r\n")));
    mime->setText(QString::fromStdString(text('\t', "\n")));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void CopyRolls(std::span<const dice::Column> columns)
{
    if (columns.empty())
        return;
    CopyTableText([columns](char separator, std::string_view lineEnd) {
        return dice::RollsTableText(columns, separator, lineEnd);
    });
}

} // namespace window
