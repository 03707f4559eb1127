#pragma once

// How a plot is read without looking at it: the view chosen with the
// keyboard, a cursor moved with the arrow keys, Home and End, the readout of
// one total as the probability table writes it, and the names a screen reader
// speaks.

#include "compare/view.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class QButtonGroup;
class QHBoxLayout;
class QWidget;

namespace window
{

// Where the cursor goes on a key among count entries: Left and Right step,
// Home and End jump to the ends; with no cursor yet, Left and Right start at
// the first entry. Nothing for other keys or when there are no entries.
std::optional<std::size_t> CursorAfterKey(int key, std::optional<std::size_t> cursor, std::size_t count);

// "P(11) = 12.500000000%", "P(>= 11) = ...", "P(<= 11) = ...", from a total
// and its share already written as a percent.
std::string ReadoutText(compare::View view, std::int32_t total, const std::string &percent);

QString Text(const std::string &text);

// Names a plot for screen readers: the reading under its cursor first, then
// what the plot is, and the summary as its description. A screen reader
// speaks a new name of the focused widget; the value change, sent once for
// each new reading (remembered in announced), serves those that follow values.
void NamePlot(QWidget &plot, const QString &name, const QString &summary, const QString &cursor, QString &announced);

// "exactly", "at least", "at most": how titles, summaries and the settings
// file name a view.
const char *ViewName(compare::View view);

// "View:" and a radio button for each view, numbered in the group by view.
QHBoxLayout *ViewButtons(QWidget *parent, QButtonGroup *group);

} // namespace window
