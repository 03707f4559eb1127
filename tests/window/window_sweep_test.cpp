// Every roll the window admits, computed through the window as a user would,
// and input no user should type: each must end in its result or its message,
// never a crash, a hang or a pick that reads stale counts.
#include "tests/window/form_driver.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <set>
#include <utility>

using windowtest::FormDriver;

class SweepTest : public windowtest::FormTest
{
    Q_OBJECT

private Q_SLOTS:
    void everyAdmittedRoll_data();
    void everyAdmittedRoll();
    void hostileInput_data();
    void hostileInput();
};

void SweepTest::everyAdmittedRoll_data()
{
    QTest::addColumn<int>("dice");
    QTest::addColumn<int>("sides");
    QTest::addColumn<int>("modifier");
    int extreme = 0;
    for (int sides : { 2, 3, 4, 5, 6, 8, 10, 12, 20, 30, 100 }) {
        for (int dice = 1; dice <= (sides == 100 ? 10 : 20); ++dice) {
            const int modifier = extreme++ % 2 ? 32767 : -32768;
            QTest::addRow("%dd%d", dice, sides) << dice << sides << 0;
            QTest::addRow("%dd%d%+d", dice, sides, modifier) << dice << sides << modifier;
        }
    }
}

void SweepTest::everyAdmittedRoll()
{
    QFETCH(int, dice);
    QFETCH(int, sides);
    QFETCH(int, modifier);
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QString::number(dice), QString::number(sides), QString::number(modifier)));

    const QStringList lines = QString::fromStdString(form.Text2.Text()).split(QStringLiteral("\r\n"));
    const int totals = dice * (sides - 1) + 1;
    QCOMPARE(lines.size(), totals + 1);
    QCOMPARE(lines.last(), QString());
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), totals);
    QCOMPARE(windowtest::ListCount(form.cmbLessThan), totals);
    for (int k = 0; k < totals; ++k) {
        const QString total = QString::number(dice + k + modifier);
        QVERIFY2(lines[k].startsWith(QStringLiteral("P(%1) = ").arg(total)), qPrintable(lines[k]));
        QCOMPARE(QString::fromStdString(form.cmbGreaterThan.List(k)), total);
        QCOMPARE(QString::fromStdString(form.cmbLessThan.List(k)), total);
    }

    // Adding every count in doubles falls short of all outcomes in the
    // fifteenth digit for these rolls only.
    const std::set<std::pair<int, int>> shortOfCertain {
        { 19, 12 }, { 19, 20 }, { 12, 30 }, { 14, 30 }, { 15, 30 }, { 18, 30 }, { 9, 100 }, { 10, 100 }
    };
    for (window::Label *label : { &form.lblGreaterThan, &form.lblLessThan, &form.lblBetween }) {
        QCOMPARE(label->Caption(), std::string("100.0%"));
        const QString tip = label->Widget()->toolTip();
        QVERIFY2((tip != QStringLiteral("100%")) == shortOfCertain.count({ dice, sides }), qPrintable(tip));
        QVERIFY2(tip.startsWith(QStringLiteral("99.99999999999")) || tip == QStringLiteral("100%"), qPrintable(tip));
    }
    const double average = (sides + 1) * dice / 2.0 + modifier;
    QCOMPARE(QString::fromStdString(form.lblAvg.Caption()), QString::number(average, 'f', 1));
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
    QVERIFY(!QApplication::overrideCursor());
}

void SweepTest::hostileInput_data()
{
    QTest::addColumn<bool>("intoDice");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    const QString digits(1 << 20, QLatin1Char('7'));
    const QString tooHigh = QStringLiteral("Number of Dice Too High!");
    const QString badModifier = QStringLiteral("Modifier value to big or too small");
    QTest::newRow("megabyte of dice") << true << digits << tooHigh;
    QTest::newRow("megabyte of modifier") << false << digits << badModifier;
    QTest::newRow("NUL in dice") << true << QStringLiteral("2") + QChar(0) << "Non-numeric Number of Dice!";
    QTest::newRow("NUL in modifier") << false << QString(QChar(0)) + QStringLiteral("1")
                                     << "Non-numeric Roll Modifier!";
    QTest::newRow("lone surrogate") << true << QStringLiteral("2") + QChar(0xD800) << "Non-numeric Number of Dice!";
    QTest::newRow("largest 32-bit dice") << true << QStringLiteral("2147483647") << tooHigh;
    QTest::newRow("dice one past it") << true << QStringLiteral("2147483648") << tooHigh;
    QTest::newRow("smallest 32-bit dice") << true << QStringLiteral("-2147483648") << tooHigh;
    QTest::newRow("dice one below it") << true << QStringLiteral("-2147483649") << tooHigh;
    QTest::newRow("largest modifier") << false << QStringLiteral("32767") << QString();
    QTest::newRow("modifier one past it") << false << QStringLiteral("32768") << badModifier;
    QTest::newRow("smallest modifier") << false << QStringLiteral("-32768") << QString();
    QTest::newRow("modifier one below it") << false << QStringLiteral("-32769") << badModifier;
}

// Pastes the text over a box's whole text, as a user would.
static void Paste(window::TextBox &box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    box.Widget()->setFocus(Qt::MouseFocusReason);
    QTest::keySequence(box.Widget(), QKeySequence::SelectAll);
    QTest::keySequence(box.Widget(), QKeySequence::Paste);
}

void SweepTest::hostileInput()
{
    QFETCH(bool, intoDice);
    QFETCH(QString, text);
    QFETCH(QString, title);
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("3"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, QStringLiteral("10")));

    Paste(intoDice ? form.txtN : form.txtM, text);
    QVERIFY(!form.txtN.Text().empty() && !form.txtM.Text().empty());
    // The edit emptied the lists, so no pick can read the earlier counts.
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
    QTest::keyClick(form.cmbGreaterThan.Widget(), Qt::Key_Down);
    QCOMPARE(form.lblGreaterThan.Caption(), std::string());

    m_driver->Click(form.Action[0]);
    const QList<windowtest::Message> messages = m_driver->watcher().Take();
    if (title.isEmpty()) {
        QCOMPARE(messages.size(), 0);
        QCOMPARE(windowtest::ListCount(form.cmbLessThan), 16);
        DRIVE(m_driver->PickByKeys(form.cmbLessThan, form.cmbLessThan.Widget()->itemText(2)));
        QCOMPARE(form.lblLessThan.Caption(), std::string("4.6%")); // 10 of 216 outcomes
        return;
    }
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, title);
    // A rejected Compute leaves the lists empty and the results blank.
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
    QCOMPARE(form.lblAvg.Caption(), std::string());
}

QTEST_MAIN(SweepTest)
#include "window_sweep_test.moc"
