#pragma once

// The calculator as Main opens it: the form in its window, the menu bar on it
// and the chart beside it, each listening to what the form announces, and the
// Compare Rolls window, made when it is first asked for. The listeners are
// wired here and nowhere else.

#include <memory>
#include <string>

class QString;
class QWidget;

namespace window
{

class ChartWindow;
class CompareWindow;
class FormMenus;
class frmMain;

class Calculator
{
public:
    Calculator();
    ~Calculator();
    Calculator(const Calculator &) = delete;
    Calculator &operator=(const Calculator &) = delete;

    frmMain &Form();
    FormMenus &Menus();
    ChartWindow &Chart();
    // Nothing until View > Compare Rolls first opens it.
    CompareWindow *Compare();
    // Shows Compare Rolls with the set of rolls in the file, or with why not.
    void OpenSet(const QString &path);

private:
    std::unique_ptr<frmMain> m_form;
    // Owned by the form's window, which closes it along with itself.
    ChartWindow *m_chart;
    std::unique_ptr<FormMenus> m_menus;
    CompareWindow *m_compare = nullptr;
    // The roll of the last table written, for a Compare window opened later.
    std::string m_lastRoll;

    void ShowCompare(bool shown);
};

// Opens the calculator's window, and Compare Rolls on setFile where one is
// named, and returns once it has been closed.
void Main(const QString &setFile);

} // namespace window
