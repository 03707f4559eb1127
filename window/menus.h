#pragma once

// The menu bar of the calculator's window and what it acts on: Copy Table,
// the chart window, the Compare Rolls item and About. Copy Table works on the last table written,
// which outlives the clearing of the results just as the text of the table
// does.

#include "rollstats/table.h"

#include <QCoreApplication>
#include <QObject>

#include <memory>

class QAction;
class QMainWindow;
class QMenuBar;

namespace window
{

class ChartWindow;

class FormMenus : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(window::FormMenus)

public:
    // Puts the menu bar on the window; the chart item shows and hides chart.
    FormMenus(QMainWindow &window, ChartWindow &chart);
    ~FormMenus() override;

    // The table Copy Table copies from now on.
    void SetTable(std::shared_ptr<const rollstats::Table> table);

    QMenuBar *Bar() const;
    QAction *CopyTable() const;
    QAction *ChartItem() const;
    // Shows and hides the Compare Rolls window; whoever owns it listens.
    QAction *CompareItem() const;
    // Help > Dice Notation; whoever owns the Compare window, whose boxes
    // read the notation, listens.
    QAction *NotationHelp() const;
    QAction *About() const;
    ChartWindow *Chart() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CopyToClipboard() const;
    void ShowChart(bool shown);
    void ShowAbout();

    QMainWindow &m_window;
    ChartWindow &m_chartWindow;
    QMenuBar *m_bar;
    QAction *m_copy;
    QAction *m_chart;
    QAction *m_compare;
    QAction *m_notationHelp;
    QAction *m_about;
    std::shared_ptr<const rollstats::Table> m_table;
    bool m_chartPlaced = false;
};

} // namespace window
