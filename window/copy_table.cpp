#include "window/copy_table.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include <vector>

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
    std::vector<dice::Column> totals;
    std::vector<dice::Column> labelled;
    for (const dice::Column &column : columns)
        (column.distribution->Labelled() ? labelled : totals).push_back(column);
    // The command line writes one table or the other; the clipboard can hold
    // both, each roll's own tables first and how the rolls fare against each
    // other last.
    const auto table = [&](char separator, std::string_view lineEnd) {
        std::string text;
        if (!totals.empty())
            text = dice::RollsTableText(totals, separator, lineEnd);
        if (!labelled.empty())
            text += (text.empty() ? std::string() : std::string(lineEnd))
                + dice::LabelsTableText(labelled, separator, lineEnd);
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
