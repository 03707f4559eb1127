#pragma once

// What the Compare window keeps between runs. The settings live in the
// standard per-user place unless a file is named; a file that is missing,
// unreadable or holds nonsense gives the defaults for what it lacks, and
// expressions are read as text, to be checked like typed ones.

#include "compare/roll.h"
#include "compare/view.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace window
{

struct CompareState {
    // Nothing was remembered: the window opens with the main window's roll.
    bool remembered = false;
    QStringList rolls;
    compare::Target target;
    compare::View view = compare::View::Exactly;
};

// The settings in file, or in the standard place when file is empty.
std::unique_ptr<QSettings> CompareSettings(const QString &file);
CompareState ReadCompareState(QSettings &settings, int mostRolls);
void WriteCompareState(QSettings &settings, const CompareState &state);

} // namespace window
