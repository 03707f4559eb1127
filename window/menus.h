#pragma once

// The menu bar over the form and what it acts on. The form's own widget, with
// every control in it, goes into a frame under the menu bar, so the window
// grows by the bar's height and nothing in the form moves. The frame
// also owns the chart window. Both the chart and Copy Table work on a copy of
// the last table written, which outlives the clearing of the results just as
// the text of the table does.

#include "rollstats/table.h"

#include <QObject>

#include <cstdint>
#include <memory>

class QAction;
class QMenuBar;
class QWidget;

namespace window
{

class ChartWindow;
class frmMain;

class FormMenus : public QObject
{
public:
    explicit FormMenus(frmMain &form);
    ~FormMenus() override;

    // What the form tells: a table written for this many dice, a pick in a
    // threshold list, results cleared.
    void TableWritten(std::int32_t dice);
    void RangePicked();
    void ResultsCleared();

    QWidget *Frame() const;
    QMenuBar *Bar() const;
    QAction *CopyTable() const;
    QAction *ChartItem() const;
    QAction *About() const;
    ChartWindow *Chart() const;
    const rollstats::Table &LastTable() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CopyToClipboard() const;
    void ShowChart(bool shown);
    void ShowAbout();

    frmMain &m_form;
    std::unique_ptr<QWidget> m_frame;
    QMenuBar *m_bar;
    QAction *m_copy;
    QAction *m_chart;
    QAction *m_about;
    ChartWindow *m_chartWindow;
    rollstats::Table m_table;
    bool m_chartPlaced = false;
};

} // namespace window
