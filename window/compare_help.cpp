// Help > Dice Notation from the Compare window: F1 opens it, and each
// example goes into a roll box without the user finding one first.
#include "window/compare.h"

#include "window/compare_row.h"
#include "window/notation_help.h"

#include <QAction>

namespace window
{

void CompareWindow::OfferNotationHelp()
{
    m_notationHelp = NewNotationHelpAction(this);
    addAction(m_notationHelp);
    QObject::connect(m_notationHelp, &QAction::triggered, this, [this] {
        OpenNotationHelp(*this, [this] { return BoxForExample(true); });
    });
}

QAction *CompareWindow::NotationHelpItem() const
{
    return m_notationHelp;
}

QLineEdit *CompareWindow::BoxForExample(bool focusedFirst)
{
    // The window's focus is where it was before the dialog took the keyboard.
    const QWidget *focused = focusWidget();
    for (const auto &row : m_rows) {
        if (focusedFirst && focused && row->widget->isAncestorOf(focused))
            return row->edit;
    }
    for (const auto &row : m_rows) {
        if (row->edit->text().trimmed().isEmpty())
            return row->edit;
    }
    if (RollCount() < kMostRolls)
        AddRoll({});
    return m_rows.back()->edit;
}

} // namespace window
