#include "window/menus.h"

#include "dice/dice.h"
#include "dice/text/text.h"
#include "window/chart.h"
#include "window/copy_table.h"
#include "window/notation_help.h"
#include "window/version.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

#include <exception>
#include <string_view>
#include <utility>

namespace window
{

FormMenus::FormMenus(QMainWindow &window, ChartWindow &chart)
    : m_window(window)
    , m_chartWindow(chart)
    , m_bar(window.menuBar())
{
    QMenu *edit = m_bar->addMenu(tr("&Edit"));
    m_copy = NewCopyTableAction(this);
    edit->addAction(m_copy);
    m_copy->setEnabled(false);
    QMenu *view = m_bar->addMenu(tr("&View"));
    m_chart = view->addAction(tr("C&hart"));
    m_chart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_chart->setCheckable(true);
    // Ctrl+R means nothing to a text box, so it works from any of them.
    m_compare = view->addAction(tr("Compare &Rolls"));
    m_compare->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_compare->setCheckable(true);
    QMenu *help = m_bar->addMenu(tr("&Help"));
    m_notationHelp = NewNotationHelpAction(this);
    help->addAction(m_notationHelp);
    m_about = help->addAction(tr("&About Pipwright"));

    // The shortcuts work from the chart as well.
    m_chartWindow.addAction(m_copy);
    m_chartWindow.addAction(m_chart);
    QObject::connect(m_copy, &QAction::triggered, this, [this] { CopyToClipboard(); });
    QObject::connect(m_chart, &QAction::toggled, this, [this](bool shown) { ShowChart(shown); });
    QObject::connect(m_about, &QAction::triggered, this, [this] { ShowAbout(); });

    m_window.installEventFilter(this);
    m_chartWindow.installEventFilter(this);
}

FormMenus::~FormMenus()
{
    m_window.removeEventFilter(this);
    m_chartWindow.removeEventFilter(this);
}

void FormMenus::SetTable(std::shared_ptr<const rollstats::Table> table)
{
    m_table = std::move(table);
    m_copy->setEnabled(m_table && !m_table->Empty());
}

QMenuBar *FormMenus::Bar() const
{
    return m_bar;
}

QAction *FormMenus::CopyTable() const
{
    return m_copy;
}

QAction *FormMenus::ChartItem() const
{
    return m_chart;
}

QAction *FormMenus::CompareItem() const
{
    return m_compare;
}

QAction *FormMenus::NotationHelp() const
{
    return m_notationHelp;
}

QAction *FormMenus::About() const
{
    return m_about;
}

ChartWindow *FormMenus::Chart() const
{
    return &m_chartWindow;
}

bool FormMenus::eventFilter(QObject *watched, QEvent *event)
{
    // The chart goes with the window; closed from its own title bar, it
    // unticks its menu item.
    const bool hidden = event->type() == QEvent::Hide && static_cast<QWidget *>(watched)->isHidden();
    if (hidden && (watched == &m_window || watched == &m_chartWindow))
        m_chart->setChecked(false);
    return QObject::eventFilter(watched, event);
}

void FormMenus::CopyToClipboard() const
{
    if (!m_table || m_table->Empty())
        return;
    // The exact counts, as the command line writes the same roll: the
    // table's doubles stop counting every outcome past 2^53.
    try {
        const dice::Distribution distribution = dice::Evaluate(dice::Parse(m_table->Roll()));
        const dice::Column column { m_table->Roll(), &distribution };
        CopyRolls({ &column, 1 });
    } catch (const std::exception &) {
        // A table the window wrote is a roll the notation reads; nothing to copy otherwise.
    }
}

void FormMenus::ShowChart(bool shown)
{
    if (!shown) {
        m_chartWindow.hide();
        return;
    }
    if (!m_chartPlaced) {
        // Beside the form rather than over it, the first time.
        m_chartWindow.resize(m_chartWindow.sizeHint());
        const QPoint beside = m_window.frameGeometry().topRight() + QPoint(8, 0);
        if (m_window.screen()->availableGeometry().contains(QRect(beside, m_chartWindow.frameSize())))
            m_chartWindow.move(beside);
        m_chartPlaced = true;
    }
    m_chartWindow.show();
}

void FormMenus::ShowAbout()
{
    // The sentence the build sets, written out for the translators.
    static constexpr std::string_view description = QT_TR_NOOP("Computes the odds of various dice tosses.");
    static_assert(description == PIPWRIGHT_DESCRIPTION);
    const QString text = QStringLiteral("<h3>Pipwright %1</h3><p>%2</p><p>%3</p><p><a href=\"%4\">%4</a></p>")
                             .arg(QStringLiteral(PIPWRIGHT_VERSION),
                                 tr(description.data()),
                                 tr("Released under the MIT licence."),
                                 QStringLiteral(PIPWRIGHT_HOMEPAGE));
    QMessageBox::about(&m_window, tr("About Pipwright"), text);
}

} // namespace window
