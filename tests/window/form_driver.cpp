#include "tests/window/form_driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "rollstats/rollstats.h"

#include <utility>

namespace windowtest
{

namespace
{

// Runs before main, so before the test program creates its application.
const bool offscreenUnlessChosen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

QString Describe(const QList<Message> &messages)
{
    QStringList parts;
    for (const Message &m : messages)
        parts << QStringLiteral("\"%1\" / \"%2\"").arg(m.title, m.text);
    return parts.join(QStringLiteral("; "));
}

QStringList Items(const window::ComboBox &list)
{
    QStringList items;
    for (int i = 0; i < ListCount(list); ++i)
        items << QString::fromStdString(list.List(i));
    return items;
}

QString AsText(const QString &text)
{
    return text;
}

QString AsText(const QStringList &items)
{
    return items.join(QLatin1Char(','));
}

QString AsText(double value)
{
    return QString::number(value, 'g', 17);
}

} // namespace

int ListCount(const window::ComboBox &list)
{
    return list.Widget()->count();
}

window::PointerShape MousePointer()
{
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor ? window::vbHourglass : window::vbDefault;
}

Results Results::Of(window::frmMain &form)
{
    Results r;
    r.table = QString::fromStdString(form.Text2.Text());
    r.atLeast = Items(form.cmbGreaterThan);
    r.atMost = Items(form.cmbLessThan);
    r.atLeastIndex = form.cmbGreaterThan.ListIndex();
    r.atMostIndex = form.cmbLessThan.ListIndex();
    r.greaterThan = form.lblGreaterThan.Widget()->text();
    r.greaterThanTip = form.lblGreaterThan.Widget()->toolTip();
    r.lessThan = form.lblLessThan.Widget()->text();
    r.lessThanTip = form.lblLessThan.Widget()->toolTip();
    r.between = form.lblBetween.Widget()->text();
    r.betweenTip = form.lblBetween.Widget()->toolTip();
    r.average = form.lblAvg.Widget()->text();
    r.averageTip = form.lblAvg.Widget()->toolTip();
    r.range = form.Label8.Widget()->text();
    for (std::int32_t i = rollstats::Counts.Lower(); i <= rollstats::Counts.Upper(); ++i)
        r.counts << rollstats::Counts[i];
    r.totalOutcomes = rollstats::TotalOutcomes;
    return r;
}

QString Results::Diff(const Results &o) const
{
    const auto differs = [](const char *name, const auto &a, const auto &b) {
        return QStringLiteral("%1: \"%2\" then \"%3\"").arg(QLatin1String(name), AsText(a), AsText(b));
    };
#define PIPWRIGHT_FIELD(f)                                                                                             \
    if (f != o.f)                                                                                                      \
        return differs(#f, f, o.f);
    PIPWRIGHT_FIELD(table)
    PIPWRIGHT_FIELD(atLeast)
    PIPWRIGHT_FIELD(atMost)
    PIPWRIGHT_FIELD(atLeastIndex)
    PIPWRIGHT_FIELD(atMostIndex)
    PIPWRIGHT_FIELD(greaterThan)
    PIPWRIGHT_FIELD(greaterThanTip)
    PIPWRIGHT_FIELD(lessThan)
    PIPWRIGHT_FIELD(lessThanTip)
    PIPWRIGHT_FIELD(between)
    PIPWRIGHT_FIELD(betweenTip)
    PIPWRIGHT_FIELD(average)
    PIPWRIGHT_FIELD(averageTip)
    PIPWRIGHT_FIELD(range)
    PIPWRIGHT_FIELD(totalOutcomes)
#undef PIPWRIGHT_FIELD
    if (counts != o.counts)
        return QStringLiteral("counts: %1 entries then %2, or other values").arg(counts.size()).arg(o.counts.size());
    return {};
}

MessageWatcher::MessageWatcher()
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, this, &MessageWatcher::Poll);
    m_timer.start();
}

QList<Message> MessageWatcher::Take()
{
    return std::exchange(m_messages, {});
}

int MessageWatcher::Pending() const
{
    return static_cast<int>(m_messages.size());
}

int MessageWatcher::Strangers() const
{
    return m_strangers;
}

void MessageWatcher::Poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (!box) {
        ++m_strangers;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    Message seen { box->windowTitle(), box->text(), box->icon(), {} };
    for (QAbstractButton *button : box->buttons())
        seen.buttons << box->standardButton(button);
    m_messages << seen;
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

FormDriver::FormDriver(Build build)
{
    if (build == Build::Calculator)
        m_calculator = std::make_unique<window::Calculator>();
    else
        m_formAlone = std::make_unique<window::frmMain>();
    m_form = m_calculator ? &m_calculator->Form() : m_formAlone.get();
    // As the program does: hiding the window must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    m_form->Form_Load();
    m_form->Show(window::vbModeless);
    if (!QTest::qWaitForWindowActive(m_form->Widget()))
        QTest::qFail("the window never became active", __FILE__, __LINE__);
}

FormDriver::~FormDriver() = default;

window::frmMain &FormDriver::form()
{
    return *m_form;
}

window::Calculator &FormDriver::calculator()
{
    return *m_calculator;
}

MessageWatcher &FormDriver::watcher()
{
    return m_watcher;
}

void FormDriver::Type(window::TextBox &box, const QString &text)
{
    QWidget *widget = box.Widget();
    QTest::mouseClick(widget, Qt::LeftButton);
    QVERIFY2(widget->hasFocus(), "a click into the box gives it the focus");
    QTest::keySequence(widget, QKeySequence::SelectAll);
    if (text.isEmpty())
        QTest::keyClick(widget, Qt::Key_Delete);
    else
        QTest::keyClicks(widget, text);
    QCOMPARE(QString::fromStdString(box.Text()), text);
}

void FormDriver::PickByKeys(window::ComboBox &list, const QString &text)
{
    QComboBox *combo = list.Widget();
    const int target = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(target >= 0, qPrintable(QStringLiteral("no item \"%1\" in %2").arg(text, combo->objectName())));
    combo->setFocus(Qt::TabFocusReason);
    for (int step = 0; combo->currentIndex() != target && step <= combo->count(); ++step)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), target);
}

void FormDriver::PickInPopup(window::ComboBox &list, const QString &text)
{
    QComboBox *combo = list.Widget();
    const int target = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(target >= 0, qPrintable(QStringLiteral("no item \"%1\" in %2").arg(text, combo->objectName())));
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_Space);
    QAbstractItemView *view = combo->view();
    QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
    // A long list shows only part of its items; scroll as the user would.
    const QModelIndex index = combo->model()->index(target, combo->modelColumn());
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    const QRect item = view->visualRect(index) & view->viewport()->rect();
    // Items may be laid out wider than the popup; aim inside it.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(view->viewport()->width() / 2, item.center().y()));
    QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
    QCOMPARE(combo->currentIndex(), target);
}

void FormDriver::Click(window::CommandButton &button)
{
    QTest::mouseClick(button.Widget(), Qt::LeftButton);
}

void FormDriver::Enter(const QString &dice, const QString &sides, const QString &modifier)
{
    DRIVE(Type(m_form->txtN, dice));
    DRIVE(PickByKeys(m_form->cmbF, sides));
    Type(m_form->txtM, modifier);
}

void FormDriver::Compute(const QString &dice, const QString &sides, const QString &modifier)
{
    DRIVE(Enter(dice, sides, modifier));
    Click(m_form->Action[0]);
    VerifyNoMessages();
}

Message FormDriver::ComputeRejected(const QString &dice, const QString &sides, const QString &modifier)
{
    Enter(dice, sides, modifier);
    Click(m_form->Action[0]);
    const QList<Message> messages = m_watcher.Take();
    [&] { QCOMPARE(messages.size(), 1); }();
    return messages.value(0);
}

void FormTest::init()
{
    m_driver = std::make_unique<FormDriver>();
}

void FormTest::cleanup()
{
    m_driver->VerifyNoMessages();
    m_driver.reset();
}

void FormDriver::VerifyNoMessages()
{
    QVERIFY2(m_watcher.Pending() == 0, qPrintable(QStringLiteral("unexpected message: ") + Describe(m_watcher.Take())));
    QCOMPARE(m_watcher.Strangers(), 0);
}

std::unique_ptr<window::CompareWindow> OpenCompare(const QStringList &rolls, const QString &settingsFile)
{
    auto compare = std::make_unique<window::CompareWindow>(nullptr, rolls.value(0), settingsFile);
    for (qsizetype i = 1; i < rolls.size(); ++i)
        compare->AddRoll(rolls[i]);
    compare->show();
    return compare;
}

} // namespace windowtest
