// The window as a whole: its state when it opens, keyboard focus, ending the
// modal display, what a screen reader is told, and that no text is cut off.
#include "tests/window/form_driver.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <memory>

using windowtest::FormDriver;

class BehaviourTest : public windowtest::FormTest
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithDefaults();
    void tabOrder();
    void tabIntoModifierSelectsIt();
    void focusEntrySelectsAll_data();
    void focusEntrySelectsAll();
    void escapeAndEnterDoNothing_data();
    void escapeAndEnterDoNothing();
    void enterClicksTheFocusedButton_data();
    void enterClicksTheFocusedButton();
    void resultTextSelectsWithoutTakingFocus();
    void modalShowEnds_data();
    void modalShowEnds();
    void accessibleNames();
    void textsFit_data();
    void textsFit();
};

void BehaviourTest::opensWithDefaults()
{
    window::frmMain &form = m_driver->form();
    QCOMPARE(form.Window()->windowTitle(), QStringLiteral("Pipwright"));
    QCOMPARE(form.cmbF.Text(), std::string("6"));
    QCOMPARE(form.txtN.Text(), std::string("2"));
    QCOMPARE(form.txtM.Text(), std::string("0"));
    QCOMPARE(form.Text2.Text(), std::string());
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
    QCOMPARE(windowtest::ListCount(form.cmbLessThan), 0);
    for (window::Label *result : { &form.lblAvg, &form.lblGreaterThan, &form.lblLessThan, &form.lblBetween })
        QCOMPARE(result->Caption(), std::string());
    QCOMPARE(form.Label8.Caption(), std::string("Probability roll is  >= and <="));
    QCOMPARE(QApplication::focusWidget(), form.Action[0].Widget());
}

void BehaviourTest::tabOrder()
{
    window::frmMain &form = m_driver->form();
    const QList<QWidget *> forward { form.Action[1].Widget(),
        form.txtN.Widget(),
        form.Text2.Widget(),
        form.cmbF.Widget(),
        form.txtM.Widget(),
        form.cmbLessThan.Widget(),
        form.cmbGreaterThan.Widget(),
        form.Action[0].Widget() };
    for (QWidget *next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    for (qsizetype i = forward.size() - 2; i >= -1; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), i >= 0 ? forward.at(i) : forward.last());
    }
}

void BehaviourTest::tabIntoModifierSelectsIt()
{
    window::frmMain &form = m_driver->form();
    auto *modifier = qobject_cast<QLineEdit *>(form.txtM.Widget());
    form.cmbF.Widget()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.cmbF.Widget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), modifier);
    QCOMPARE(modifier->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(modifier, QStringLiteral("-4"));
    QCOMPARE(form.txtM.Text(), std::string("-4"));
}

void BehaviourTest::focusEntrySelectsAll_data()
{
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<QString>("selected");
    QTest::newRow("moved by the code") << Qt::OtherFocusReason << QStringLiteral("12");
    // The box's own context menu closing: its Paste must go where the caret is.
    QTest::newRow("back from a popup") << Qt::PopupFocusReason << QString();
    QTest::newRow("window reactivated") << Qt::ActiveWindowFocusReason << QString();
    QTest::newRow("back from the menu bar") << Qt::MenuBarFocusReason << QString();
}

void BehaviourTest::focusEntrySelectsAll()
{
    QFETCH(Qt::FocusReason, reason);
    QFETCH(QString, selected);
    window::frmMain &form = m_driver->form();
    auto *dice = qobject_cast<QLineEdit *>(form.txtN.Widget());
    DRIVE(m_driver->Type(form.txtN, QStringLiteral("12")));
    dice->deselect();
    form.Action[0].Widget()->setFocus(Qt::OtherFocusReason);
    dice->setFocus(reason);
    QVERIFY(dice->hasFocus());
    QCOMPARE(dice->selectedText(), selected);
}

void BehaviourTest::escapeAndEnterDoNothing_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name : { "txtN", "txtM", "cmbF", "cmbGreaterThan", "cmbLessThan" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Neither button is a default button: Enter where the focus is not on a
// button computes nothing, and Escape closes nothing.
void BehaviourTest::escapeAndEnterDoNothing()
{
    QFETCH(QString, control);
    window::frmMain &form = m_driver->form();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(form.Widget()->isVisible());
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    const QString table = QString::fromStdString(form.Text2.Text());
    DRIVE(m_driver->Type(form.txtN, QStringLiteral("3")));

    QWidget *widget = form.Widget()->findChild<QWidget *>(control);
    widget->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
        QTest::keyClick(widget, key);
    QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(form.Widget()->isVisible());
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
    QCOMPARE(QString::fromStdString(form.Text2.Text()), table);
}

void BehaviourTest::enterClicksTheFocusedButton_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
    QTest::newRow("Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("Space") << Qt::Key_Space << Qt::KeyboardModifiers();
}

void BehaviourTest::enterClicksTheFocusedButton()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    window::frmMain &form = m_driver->form();
    // The window opens with the focus on Compute.
    QCOMPARE(QApplication::focusWidget(), form.Action[0].Widget());
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QCOMPARE(windowtest::ListCount(form.cmbLessThan), 11);
    QCOMPARE(form.lblAvg.Caption(), std::string("7.0"));
    QCOMPARE(QApplication::focusWidget(), form.Action[0].Widget());

    // A rejected Compute moves the focus to the field at fault.
    DRIVE(m_driver->Type(form.txtN, QStringLiteral("21")));
    QTest::keyClick(form.txtN.Widget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), form.Action[0].Widget());
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    const QList<windowtest::Message> messages = m_driver->watcher().Take();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Number of Dice Too High!"));
    QCOMPARE(QApplication::focusWidget(), form.txtN.Widget());

    // Enter on Close closes.
    form.Action[1].Widget()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QVERIFY(!form.Widget()->isVisible());
}

// The result labels let the mouse select their text for copying, but take
// no focus: not by clicking, not by selecting, not by tabbing.
void BehaviourTest::resultTextSelectsWithoutTakingFocus()
{
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->Type(form.txtM, QStringLiteral("0")));
    QWidget *modifier = form.txtM.Widget();
    m_driver->Click(form.Action[0]);
    QTest::mouseClick(modifier, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), modifier);
    for (window::Label *result : { &form.lblAvg, &form.lblGreaterThan, &form.lblLessThan, &form.lblBetween }) {
        QLabel *label = result->Widget();
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2));
        QCOMPARE(QApplication::focusWidget(), modifier);
        QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(label->width() / 3, label->height() / 2));
        QVERIFY2(label->hasSelectedText(), qPrintable(label->objectName()));
        QCOMPARE(QApplication::focusWidget(), modifier);
        QVERIFY(!label->hasFocus());
    }
}

void BehaviourTest::modalShowEnds_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Close button") << true;
    QTest::newRow("window closed") << false;
}

void BehaviourTest::modalShowEnds()
{
    QFETCH(bool, byButton);
    window::frmMain &form = m_driver->form();
    bool closed = false;
    QTimer::singleShot(0, form.Widget(), [&] {
        QVERIFY(form.Widget()->isVisible());
        if (byButton)
            m_driver->Click(form.Action[1]);
        else
            form.Window()->close();
        closed = true;
    });
    // Should the modal display never end, this ends it and fails the test.
    bool stuck = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, form.Widget(), [&] {
        stuck = true;
        QCoreApplication::exit(1);
    });
    guard.start(60000);
    form.Show(window::vbModal);
    guard.stop();
    QVERIFY(!stuck);
    QVERIFY(closed);
    QVERIFY(!form.Widget()->isVisible());
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
}

void BehaviourTest::accessibleNames()
{
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, QStringLiteral("7")));

    const std::pair<QWidget *, QString> named[] = {
        { form.txtN.Widget(), QStringLiteral("Number of Dice") },
        { form.cmbF.Widget(), QStringLiteral("Number of Sides") },
        { form.txtM.Widget(), QStringLiteral("Roll Modifier") },
        { form.cmbGreaterThan.Widget(), QStringLiteral("Prob. >=") },
    };
    for (const auto &[widget, caption] : named) {
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(field);
        const auto labels = field->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), caption);
    }
    QAccessibleInterface *atLeast = QAccessible::queryAccessibleInterface(form.lblGreaterThan.Widget());
    QCOMPARE(atLeast->text(QAccessible::Name), QStringLiteral("58.3%"));
    QCOMPARE(atLeast->text(QAccessible::Description), QStringLiteral("58.3333333333333%"));
}

void BehaviourTest::textsFit_data()
{
    QTest::addColumn<QStringList>("roll"); // dice, sides, modifier; none for the window as opened
    QTest::newRow("as opened") << QStringList();
    QTest::newRow("1d2-32768") << QStringList { "1", "2", "-32768" };
    QTest::newRow("10d100+32767") << QStringList { "10", "100", "32767" };
    QTest::newRow("20d30-32768") << QStringList { "20", "30", "-32768" };
}

void BehaviourTest::textsFit()
{
    QFETCH(QStringList, roll);
    window::frmMain &form = m_driver->form();
    if (!roll.isEmpty())
        DRIVE(m_driver->Compute(roll.at(0), roll.at(1), roll.at(2)));

    const QList<QWidget *> controls = form.Widget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 20);
    for (QWidget *control : controls) {
        const QString name = control->objectName();
        QVERIFY2(form.Widget()->rect().contains(control->geometry()), qPrintable(name));
        for (QWidget *other : controls) {
            if (other != control)
                QVERIFY2(!control->geometry().intersects(other->geometry()),
                    qPrintable(name + QStringLiteral(" overlaps ") + other->objectName()));
        }
        const QFontMetrics metrics = control->fontMetrics();
        if (auto *label = qobject_cast<QLabel *>(control)) {
            if (label->wordWrap()) {
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(name));
                continue;
            }
            const int indent = label->indent() >= 0 ? label->indent()
                : label->frameWidth() > 0           ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                                                    : 0;
            const int room = label->contentsRect().width() - 2 * label->margin() - indent;
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= room, qPrintable(name + ": " + label->text()));
            QVERIFY2(metrics.height() <= label->contentsRect().height(), qPrintable(name));
        } else if (auto *list = qobject_cast<QComboBox *>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            option.frame = list->hasFrame();
            option.subControls = QStyle::SC_All;
            const QRect field =
                list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
            for (int i = 0; i < list->count(); ++i)
                QVERIFY2(metrics.horizontalAdvance(list->itemText(i)) <= field.width() - 2,
                    qPrintable(name + ": " + list->itemText(i)));
        } else if (auto *box = qobject_cast<QLineEdit *>(control)) {
            // The widest text either field takes for a roll that computes.
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
            const QRect field = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
            const QMargins margins = box->textMargins();
            QVERIFY2(metrics.horizontalAdvance(QStringLiteral("-32768")) + 4
                    <= field.width() - margins.left() - margins.right(),
                qPrintable(name));
        } else if (auto *table = qobject_cast<QPlainTextEdit *>(control)) {
            // One screen line per total: no line of the table wraps.
            for (QTextBlock block = table->document()->begin(); block.isValid(); block = block.next())
                QVERIFY2(!block.layout() || block.layout()->lineCount() <= 1, qPrintable(block.text()));
        } else if (auto *button = qobject_cast<QPushButton *>(control)) {
            QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(name));
        }
    }
}

QTEST_MAIN(BehaviourTest)
#include "window_behaviour_test.moc"
