#pragma once

// The Compare window on paper: its statistics table, its head-to-head table
// and its plot, on as many pages as they take, drawn as text and lines so
// that a PDF keeps its figures searchable. The pages are laid out in the
// window's own units, so that the plot is drawn as it is on the screen.

class QIODevice;
class QPrinter;
class QString;

namespace window
{

class CompareWindow;

// False when the printer would not start.
bool PrintComparison(QPrinter &printer, const CompareWindow &window);
// Writes a PDF to device, which is open for writing. False when it could not.
bool WriteComparisonPdf(QIODevice &device, const CompareWindow &window, const QString &title);

} // namespace window
