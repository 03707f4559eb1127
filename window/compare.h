#pragma once

// The Compare Rolls window: up to eight rolls in the dice notation, counted
// as they are typed, side by side in a table of their statistics and the
// chance of each to reach one target total, set against each other in a
// head-to-head table, and overlaid on one plot. A roll
// that does not parse shows why under its box and stays out of the table and
// the plot until it does. The rolls, the target and the views are kept
// between runs, or in a .rolls file that the File menu opens and saves.

#include "compare/comparison.h"
#include "compare/head_to_head.h"
#include "compare/roll_set.h"
#include "compare/view.h"

#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSettings;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QTableWidget;
class QTimer;
class QVBoxLayout;

namespace window
{

class CompareFiles;
class ComparePlot;
class RollComputer;
struct RollAnswer;

class CompareWindow : public QWidget
{
    Q_DECLARE_TR_FUNCTIONS(window::CompareWindow)

public:
    static constexpr int kMostRolls = 8;

    // Opens with the remembered rolls, or with firstRoll when none are. The
    // settings are in settingsFile, or in the standard place when it is empty.
    CompareWindow(QWidget *parent, const QString &firstRoll, const QString &settingsFile = {});
    ~CompareWindow() override;

    int RollCount() const;
    QLineEdit *RollEdit(int row) const;
    QPushButton *RemoveButton(int row) const;
    // The error or the working notice under a roll's box.
    QString RollStatus(int row) const;
    bool Computing() const;
    void AddRoll(const QString &text);
    void RemoveRoll(int row);

    QPushButton *AddButton() const;
    QSpinBox *Target() const;
    QComboBox *Sense() const;
    QTableWidget *Table() const;
    // Shows the statistics or the head-to-head table.
    QTabBar *Tabs() const;
    // Each valid roll with totals against each: the row's chance to beat the
    // column's.
    QTableWidget *HeadToHeadTable() const;
    // Under it, which rolls it leaves out for their results being labels;
    // hidden when none are.
    QLabel *LeftOutOfHeadToHead() const;
    ComparePlot *Plot() const;
    // What the table and the plot show: the valid rolls, the target, the view.
    const compare::Comparison &Shown() const;
    QString Readout() const;
    void SetView(compare::View view);

    // The valid rolls' table on the clipboard, as CSV and as tab-separated
    // text, and after an empty line the head-to-head table where it is known.
    void CopyTable() const;
    // Asks for a file name and saves the plot there.
    void SaveChart();
    // Saves the plot to path; a failure is told in a message box. True when saved.
    bool SaveChartTo(const QString &path);

    // Help > Dice Notation, on F1.
    QAction *NotationHelpItem() const;
    // Where an example of the notation goes: the box of the row with the
    // focus, when that comes first, else an empty box, else a new row, else
    // the last.
    QLineEdit *BoxForExample(bool focusedFirst);

    // Called when the window has been hidden, closed from its title bar too.
    std::function<void()> Hidden;

    // The rolls as typed, the target and the view, as a file keeps them.
    compare::RollSet Set() const;
    // Shows the set in place of the rolls, target and view shown; the
    // defaults stand for what it does not name.
    void ShowSet(const compare::RollSet &set);
    // Called after each change of a roll, the target or the view.
    std::function<void()> Edited;
    // Whether changes are kept between runs; a set from a file is kept in it.
    void SetRemembered(bool remembered);
    QSettings &Settings() const;
    // The File menu and what it opens, saves and prints.
    CompareFiles *Files() const;

    QPushButton *CopyButton() const;
    QPushButton *SaveButton() const;
    // Where the roll rows scroll when the screen is too short for all of them.
    QScrollArea *RowsArea() const;
    // Where everything but the buttons scrolls when the screen is too short
    // for the least of it.
    QScrollArea *ScrollArea() const;

    // All of the content, as tall as the screen allows.
    QSize sizeHint() const override;

protected:
    void hideEvent(QHideEvent *event) override;
    // Keeps a disabled button's mnemonic out of the roll boxes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row;
    // The computer's slot for the head-to-head table; rows count from 1.
    static constexpr std::uint64_t kHeadToHeadSlot = 0;
    void LayOut(QHBoxLayout *targetRow, QHBoxLayout *views);
    void OfferNotationHelp();
    // Taller by what new rows need while the screen has room.
    void GrowWithRows();
    // As wide as either table's columns, which only the height scrolls.
    void FitWidth();
    // Moves the window left where its right edge has left the screen.
    void KeepOnScreen();
    void RollEdited(Row &row);
    // Text pasted with line breaks: its first line stays, and each further
    // line that is not blank becomes a roll of its own below. True when split.
    bool SplitLines(Row &row);
    void Answered(std::uint64_t id, const RollAnswer &answer);
    void ShowWorking(std::uint64_t id);
    // The error or the working notice under a roll's box; none when empty.
    void ShowStatus(Row &row, const QString &status);
    // Drops a count still running; the roll counts again when edited.
    void StopCounting(Row &row);
    // The note in the bar naming the rolls still counting, which may be
    // scrolled out of view.
    void ShowCounting();
    void Refresh();
    void TargetEdited();
    void ShowCursor();
    void FillTable(const std::vector<const Row *> &valid);
    // The line of a roll whose results are labels.
    void FillLabelledLine(int line, const compare::RollResult &roll);
    // Counts the pairs the head-to-head table does not know yet, off the
    // window's thread, and shows those it knows.
    void FaceOff(const std::vector<const Row *> &valid);
    void FillHeadToHead();
    // The note under the head-to-head table, naming the rows left out by number.
    void ShowLeftOut(QStringList numbers);
    void HeadToHeadAnswered(const RollAnswer &answer);
    // Lays out the head-to-head columns; the width they take.
    int FitHeadToHead();
    // Both tables as tall as their lines, and the note under the head-to-head.
    void FitHeights();
    void Renumber();
    void Remember();
    Row *Find(std::uint64_t id);

    std::unique_ptr<QSettings> m_settings;
    // Before the plot, which reads it.
    compare::Comparison m_shown;
    RollComputer *m_computer;
    std::vector<std::unique_ptr<Row>> m_rows;
    std::uint64_t m_nextId = 1;
    QVBoxLayout *m_rowsLayout;
    QPushButton *m_add;
    QSpinBox *m_target;
    QComboBox *m_sense;
    QTableWidget *m_table;
    QTableWidget *m_versus;
    // Names the rolls the head-to-head table leaves out.
    QLabel *m_leftOut;
    QStackedWidget *m_pages;
    QTabBar *m_tabs;
    // The last head-to-head counted; rolls since may lack their pairs.
    std::shared_ptr<const compare::HeadToHead> m_headToHead;
    QButtonGroup *m_views;
    ComparePlot *m_plot;
    QLabel *m_readout;
    QPushButton *m_copy;
    QPushButton *m_save;
    QScrollArea *m_scroll;
    // The roll rows, scrolled on their own when the screen is short.
    QScrollArea *m_rowsArea = nullptr;
    // The hint line and the buttons under the scrolling area.
    QHBoxLayout *m_bar = nullptr;
    QAction *m_notationHelp = nullptr;
    QLabel *m_counting = nullptr;
    bool m_loading = true;
    bool m_remembered = true;
    CompareFiles *m_files = nullptr;
};

} // namespace window
