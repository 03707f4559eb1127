#pragma once

// Copy Table, the same in every window: Ctrl+Shift+C, which leaves Ctrl+C to
// the text boxes, puts the exact table of the rolls on the clipboard as CSV
// with CRLF line ends for spreadsheets and as tab-separated text for
// everything else, each the table the command line writes.

#include "compare/head_to_head.h"
#include "dice/text/text.h"

#include <span>

class QAction;
class QObject;

namespace window
{

// An action named Copy Table with its shortcut; whoever owns it connects it.
QAction *NewCopyTableAction(QObject *parent);

// Nothing is copied for no columns. Labelled rolls' table follows the totals
// after one empty line, and a head-to-head table follows both after another.
void CopyRolls(std::span<const dice::Column> columns, const compare::HeadToHead *headToHead = nullptr);

} // namespace window
