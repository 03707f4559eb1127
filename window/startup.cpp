#include "window/startup.h"

#include "window/chart.h"
#include "window/frmmain.h"
#include "window/menus.h"
#include "window/termination.h"

#include <QMainWindow>

namespace window
{

Calculator::Calculator()
    : m_form(std::make_unique<frmMain>())
    , m_chart(new ChartWindow(m_form->Window()))
    , m_menus(std::make_unique<FormMenus>(*m_form->Window(), *m_chart))
{
    m_form->TableWritten = [this](std::shared_ptr<const rollstats::Table> table) {
        m_menus->SetTable(table);
        m_chart->SetTable(std::move(table));
    };
    m_form->RangePicked = [this](std::size_t first, std::size_t last) {
        m_chart->SetHighlight(std::pair { first, last });
    };
    m_form->ResultsCleared = [this] { m_chart->SetHighlight(std::nullopt); };
}

// The menus leave the window before the form takes it and the chart along.
Calculator::~Calculator() = default;

frmMain &Calculator::Form()
{
    return *m_form;
}

FormMenus &Calculator::Menus()
{
    return *m_menus;
}

ChartWindow &Calculator::Chart()
{
    return *m_chart;
}

void Main()
{
    auto calculator = std::make_unique<Calculator>();
    calculator->Form().Form_Load();
    CloseWindowsOnTermination();
    calculator->Form().Show(vbModal);
    calculator.reset();
}

} // namespace window
