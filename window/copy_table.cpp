#include "window/copy_table.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace window
{

QAction *NewCopyTableAction(QObject *parent)
{
    auto *copy = new QAction(QCoreApplication::translate("window::CopyTable", "&Copy Table"), parent);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    return copy;
}

void CopyRolls(std::span<const dice::Column> columns, const compare::HeadToHead *headToHead)
{
    if (columns.empty())
        return;
    const auto table = [&](char separator, std::string_view lineEnd) {
        std::string text = dice::RollsTableText(columns, separator, lineEnd);
        if (headToHead)
            text += std::string(lineEnd) + compare::HeadToHeadText(*headToHead, separator, lineEnd);
        return text;
    };
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(table(',', "\r\n")));
    mime->setText(QString::fromStdString(table('\t', "\n")));
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace window
