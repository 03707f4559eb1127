#include "window/menus.h"

#include "numtext/table_text.h"
#include "window/chart.h"
#include "window/frmmain.h"
#include "window/version.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace window
{

FormMenus::FormMenus(frmMain &form)
    : m_form(form)
    , m_frame(std::make_unique<QWidget>())
    , m_bar(new QMenuBar(m_frame.get()))
{
    QWidget *client = form.Widget();
    QWidget *focus = client->focusWidget();
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setWindowTitle(client->windowTitle());
    m_frame->setWindowIcon(client->windowIcon());
    auto *layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setMenuBar(m_bar);
    layout->addWidget(client);
    if (focus)
        focus->setFocus();

    QMenu *edit = m_bar->addMenu(QStringLiteral("&Edit"));
    m_copy = edit->addAction(QStringLiteral("&Copy Table"));
    m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_copy->setEnabled(false);
    QMenu *view = m_bar->addMenu(QStringLiteral("&View"));
    m_chart = view->addAction(QStringLiteral("C&hart"));
    m_chart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_chart->setCheckable(true);
    QMenu *help = m_bar->addMenu(QStringLiteral("&Help"));
    m_about = help->addAction(QStringLiteral("&About Pipwright"));

    m_chartWindow = new ChartWindow(m_frame.get());
    // The shortcuts work from the chart as well.
    m_chartWindow->addAction(m_copy);
    m_chartWindow->addAction(m_chart);
    QObject::connect(m_copy, &QAction::triggered, this, [this] { CopyToClipboard(); });
    QObject::connect(m_chart, &QAction::toggled, this, [this](bool shown) { ShowChart(shown); });
    QObject::connect(m_about, &QAction::triggered, this, [this] { ShowAbout(); });

    // The form ends a modal Show when its window hides, and that is now the frame.
    m_frame->installEventFilter(&form);
    m_frame->installEventFilter(this);
    m_chartWindow->installEventFilter(this);
}

FormMenus::~FormMenus()
{
    m_frame->removeEventFilter(&m_form);
    m_frame->removeEventFilter(this);
    m_chartWindow->removeEventFilter(this);
    // The form deletes its own widget; the frame must not take it along.
    m_form.Widget()->setParent(nullptr);
}

void FormMenus::TableWritten(std::int32_t dice)
{
    m_table = rollstats::TakeTable(dice);
    m_copy->setEnabled(true);
    m_chartWindow->SetTable(m_table);
}

void FormMenus::RangePicked()
{
    // Either list may be picked first; the other may still be empty.
    const int a = m_form.cmbLessThan.ListIndex();
    const int b = m_form.cmbGreaterThan.ListIndex();
    if (a < 0 || b < 0)
        return;
    // The window's rule for a crossing pick: the range runs between the two.
    m_chartWindow->SetHighlight(
        std::pair { static_cast<std::size_t>(std::min(a, b)), static_cast<std::size_t>(std::max(a, b)) });
}

void FormMenus::ResultsCleared()
{
    m_chartWindow->SetHighlight(std::nullopt);
}

QWidget *FormMenus::Frame() const
{
    return m_frame.get();
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

QAction *FormMenus::About() const
{
    return m_about;
}

ChartWindow *FormMenus::Chart() const
{
    return m_chartWindow;
}

const rollstats::Table &FormMenus::LastTable() const
{
    return m_table;
}

bool FormMenus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == m_frame.get() && m_frame->isHidden())
        m_chart->setChecked(false);
    // Closed from its title bar, the chart unticks its menu item.
    if (event->type() == QEvent::Hide && watched == m_chartWindow && m_chartWindow->isHidden())
        m_chart->setChecked(false);
    return QObject::eventFilter(watched, event);
}

void FormMenus::CopyToClipboard() const
{
    if (m_table.Empty())
        return;
    const auto text = [this](char separator, std::string_view lineEnd) {
        return numtext::TableText(m_table.FirstTotal(), m_table.counts, m_table.totalOutcomes, separator, lineEnd);
    };
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(text(',', "\r\n")));
    data->setText(QString::fromStdString(text('\t', "\n")));
    QGuiApplication::clipboard()->setMimeData(data);
}

void FormMenus::ShowChart(bool shown)
{
    if (!shown) {
        m_chartWindow->hide();
        return;
    }
    if (!m_chartPlaced) {
        // Beside the form rather than over it, the first time.
        m_chartWindow->resize(m_chartWindow->sizeHint());
        const QPoint beside = m_frame->frameGeometry().topRight() + QPoint(8, 0);
        if (m_frame->screen()->availableGeometry().contains(QRect(beside, m_chartWindow->frameSize())))
            m_chartWindow->move(beside);
        m_chartPlaced = true;
    }
    m_chartWindow->show();
}

void FormMenus::ShowAbout()
{
    const QString text = QStringLiteral("<h3>Pipwright %1</h3>"
                                        "<p>Computes the odds of various dice tosses.</p>"
                                        "<p>Released under the MIT licence.</p>"
                                        "<p><a href=\"%2\">%2</a></p>")
                             .arg(QStringLiteral(PIPWRIGHT_VERSION), QStringLiteral(PIPWRIGHT_HOMEPAGE));
    QMessageBox::about(m_frame.get(), QStringLiteral("About Pipwright"), text);
}

} // namespace window
