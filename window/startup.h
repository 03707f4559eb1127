#pragma once

// The calculator as Main opens it: the form in its window, the menu bar on it
// and the chart beside it, each listening to what the form announces. The
// listeners are wired here and nowhere else.

#include <memory>

namespace window
{

class ChartWindow;
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

private:
    std::unique_ptr<frmMain> m_form;
    // Owned by the form's window, which closes it along with itself.
    ChartWindow *m_chart;
    std::unique_ptr<FormMenus> m_menus;
};

// Opens the calculator's window and returns once it has been closed.
void Main();

} // namespace window
