#pragma once

// A roll row of the Compare window and its statistics table, for the files
// that make up the window.

#include "window/compare.h"

#include "compare/roll.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace window
{

// The widest a roll is shown in either table, in widths of an x.
constexpr int kLongestRoll = 36;

struct CompareWindow::Row {
    std::uint64_t id = 0;
    // The colour, dash and marker its roll wears on the plot.
    std::size_t style = 0;
    QWidget *widget = nullptr;
    QLabel *label = nullptr;
    QLineEdit *edit = nullptr;
    QPushButton *remove = nullptr;
    QLabel *status = nullptr;
    // Beside the working notice: stops the count, as Escape in the box does.
    QPushButton *stop = nullptr;
    QTimer *working = nullptr;
    std::shared_ptr<const compare::RollResult> result;
};

// The table asks for a line per roll row, valid or not, so that the window
// keeps its layout while answers come and go: as many as its greatest height
// holds, set as rows come and go.
class RollTable : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;

    QSize sizeHint() const override
    {
        return { QTableWidget::sizeHint().width(), maximumHeight() };
    }
};

} // namespace window
