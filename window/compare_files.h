#pragma once

// What the Compare window keeps between runs, and its saved pictures. The
// settings live in the standard per-user place unless a file is named; a file
// that is missing, unreadable or holds nonsense gives the defaults for what it
// lacks, and expressions are read as text, to be checked like typed ones.

#include "rollstats/table.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace window
{

class ComparePlot;

struct CompareState {
    // Nothing was remembered: the window opens with the main window's roll.
    bool remembered = false;
    QStringList rolls;
    std::int64_t target = 15;
    rollstats::View sense = rollstats::View::AtLeast;
    rollstats::View view = rollstats::View::Exactly;
};

// The settings in file, or in the standard place when file is empty.
std::unique_ptr<QSettings> CompareSettings(const QString &file);
CompareState ReadCompareState(QSettings &settings, int mostRolls);
void WriteCompareState(QSettings &settings, const CompareState &state);

// Writes the plot at its current size as SVG when the name ends in ".svg",
// else as PNG. Returns why it could not, or nothing. The picture goes to a
// temporary file beside the named one, renamed into place when complete.
QString SaveChartFile(const ComparePlot &plot, const QString &path);

} // namespace window
