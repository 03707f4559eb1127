#include "window/startup.h"

#include "window/chart.h"
#include "window/compare.h"
#include "window/compare_files.h"
#include "window/frmmain.h"
#include "window/menus.h"
#include "window/notation_help.h"
#include "window/termination.h"

#include <QAction>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

namespace window
{

Calculator::Calculator()
    : m_form(std::make_unique<frmMain>())
    , m_chart(new ChartWindow(m_form->Window()))
    , m_menus(std::make_unique<FormMenus>(*m_form->Window(), *m_chart))
{
    m_form->TableWritten = [this](std::shared_ptr<const rollstats::Table> table) {
        m_lastRoll = table && !table->Empty() ? table->Roll() : std::string();
        m_menus->SetTable(table);
        m_chart->SetTable(std::move(table));
    };
    m_form->RangePicked = [this](std::size_t first, std::size_t last) {
        m_chart->SetHighlight(std::pair { first, last });
    };
    m_form->ResultsCleared = [this] { m_chart->SetHighlight(std::nullopt); };
    QObject::connect(
        m_menus->CompareItem(), &QAction::toggled, m_form->Window(), [this](bool shown) { ShowCompare(shown); });
    // The examples go into Compare Rolls, opened for the first one, and
    // beside the rolls there rather than over one.
    QObject::connect(m_menus->NotationHelp(), &QAction::triggered, m_form->Window(), [this] {
        OpenNotationHelp(*m_form->Window(), [this] {
            m_menus->CompareItem()->setChecked(true);
            return m_compare->BoxForExample(false);
        });
    });
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

CompareWindow *Calculator::Compare()
{
    return m_compare;
}

void Calculator::ShowCompare(bool shown)
{
    if (!shown) {
        if (m_compare)
            m_compare->hide();
        return;
    }
    QMainWindow *window = m_form->Window();
    if (!m_compare) {
        m_compare =
            new CompareWindow(window, QString::fromStdString(m_lastRoll.empty() ? std::string("2d20kh1") : m_lastRoll));
        // The menu's shortcuts work from there as well.
        m_compare->addAction(m_menus->CompareItem());
        m_compare->Hidden = [this] { m_menus->CompareItem()->setChecked(false); };
        // Beside the window where the screen has room: left of it, else to
        // its right, else to the right of the chart.
        m_compare->resize(m_compare->sizeHint());
        const QRect screen = window->screen()->availableGeometry();
        const QSize size = m_compare->frameSize();
        const QRect main = window->frameGeometry();
        for (const QPoint place : { main.topLeft() - QPoint(size.width() + 8, 0),
                 main.topRight() + QPoint(8, 0),
                 m_chart->frameGeometry().topRight() + QPoint(8, 0) }) {
            if (screen.contains(QRect(place, size))) {
                m_compare->move(place);
                break;
            }
        }
    }
    m_compare->show();
    m_compare->raise();
}

void Calculator::OpenSet(const QString &path)
{
    m_menus->CompareItem()->setChecked(true);
    if (!m_compare)
        return;
    // The file is what the user came for: its window takes the keyboard.
    m_compare->activateWindow();
    m_compare->Files()->OpenFile(path);
}

void Main(const QString &setFile)
{
    auto calculator = std::make_unique<Calculator>();
    calculator->Form().Form_Load();
    CloseWindowsOnTermination();
    // Once the window is up, so that Compare Rolls is placed beside it.
    if (!setFile.isEmpty())
        QTimer::singleShot(0, calculator->Form().Window(), [&calculator, setFile] { calculator->OpenSet(setFile); });
    calculator->Form().Show(vbModal);
    calculator.reset();
}

} // namespace window
