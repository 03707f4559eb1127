// The Compute command as the user meets it: the table, the lists, the labels
// and the average after a good roll, and the message, focus and untouched
// results after each rejected input.
#include "tests/window/form_driver.h"

#include "rollstats/rollstats.h"
#include "runtime/errors.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

using windowtest::FormDriver;
using windowtest::Message;
using windowtest::Results;

class ComputeTest : public windowtest::FormTest
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsRoad();
    void computes_data();
    void computes();
    void rejects_data();
    void rejects();
    void unexpectedError_data();
    void unexpectedError();
    void reporterGoesWithItsForm();
};

void ComputeTest::defaultsRoad()
{
    window::frmMain &form = m_driver->form();
    m_driver->Click(form.Action[0]);
    DRIVE(m_driver->VerifyNoMessages());

    // Ways out of 36 for the totals 2 to 12: 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1.
    const QString table = QStringLiteral("P(2) = 2.777777778%\r\nP(3) = 5.555555556%\r\nP(4) = 8.333333333%\r\n"
                                         "P(5) = 11.111111111%\r\nP(6) = 13.888888889%\r\nP(7) = 16.666666667%\r\n"
                                         "P(8) = 13.888888889%\r\nP(9) = 11.111111111%\r\nP(10) = 8.333333333%\r\n"
                                         "P(11) = 5.555555556%\r\nP(12) = 2.777777778%\r\n");
    QCOMPARE(QString::fromStdString(form.Text2.Text()), table);

    const Results r = Results::Of(form);
    const QStringList totals { "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12" };
    QCOMPARE(r.atLeast, totals);
    QCOMPARE(r.atMost, totals);
    QCOMPARE(r.atLeastIndex, 0);
    QCOMPARE(r.atMostIndex, 10);
    QCOMPARE(form.cmbGreaterThan.Widget()->currentText(), QStringLiteral("2"));
    QCOMPARE(form.cmbLessThan.Widget()->currentText(), QStringLiteral("12"));
    for (const auto &[caption, tip] : { std::pair { r.greaterThan, r.greaterThanTip },
             std::pair { r.lessThan, r.lessThanTip },
             std::pair { r.between, r.betweenTip } }) {
        QCOMPARE(caption, QStringLiteral("100.0%"));
        QCOMPARE(tip, QStringLiteral("100%"));
    }
    QCOMPARE(r.range, QStringLiteral("Probability roll is between 2 and 12."));
    QCOMPARE(r.average, QStringLiteral("7.0"));
    QCOMPARE(r.averageTip, QStringLiteral("7.0"));
    QCOMPARE(r.totalOutcomes, 36.0);
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void ComputeTest::computes_data()
{
    QTest::addColumn<QString>("dice");
    QTest::addColumn<QString>("sides");
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("average");
    QTest::addColumn<QString>("fullTip");

    // clang-format off
    QTest::newRow("1d6-3") << "1" << "6" << "-3" << 6 << "P(-2) = 16.666666667%" << "P(-1) = 16.666666667%" << "P(3) = 16.666666667%" << "0.5" << "100%";
    QTest::newRow("2.5 dice is 2") << "2.5" << "6" << "0" << 11 << "P(2) = 2.777777778%" << "P(3) = 5.555555556%" << "P(12) = 2.777777778%" << "7.0" << "100%";
    QTest::newRow("3.5 dice is 4") << "3.5" << "2" << "0" << 5 << "P(4) = 6.250000000%" << "P(5) = 25.000000000%" << "P(8) = 6.250000000%" << "6.0" << "100%";
    // 1.5 rounds to 2; 1 and 3 ways of 64 for the face totals 3 and 4.
    QTest::newRow("3d4+1.5") << "3" << "4" << "1.5" << 10 << "P(5) = 1.562500000%" << "P(6) = 4.687500000%" << "P(14) = 1.562500000%" << "9.5" << "100%";
    QTest::newRow("1d2 lowest modifier") << "1" << "2" << "-32768" << 2 << "P(-32767) = 50.000000000%" << "P(-32766) = 50.000000000%" << "P(-32766) = 50.000000000%" << "-32766.5" << "100%";
    QTest::newRow("10d100 is the largest d100 roll") << "10" << "100" << "32767" << 991 << "P(32777) = 0.000000000%" << "P(32778) = 0.000000000%" << "P(33767) = 0.000000000%" << "33272.0" << "99.9999999999998%";
    QTest::newRow("20d30") << "20" << "30" << "0" << 581 << "P(20) = 0.000000000%" << "P(21) = 0.000000000%" << "P(600) = 0.000000000%" << "310.0" << "100%";
    // clang-format on
}

void ComputeTest::computes()
{
    QFETCH(QString, dice);
    QFETCH(QString, sides);
    QFETCH(QString, modifier);
    QFETCH(int, lines);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, last);
    QFETCH(QString, average);
    QFETCH(QString, fullTip);

    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(dice, sides, modifier));

    const Results r = Results::Of(form);
    QVERIFY(r.table.endsWith(QStringLiteral("\r\n")));
    const QStringList table = r.table.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(table.size(), lines);
    QCOMPARE(table.first(), first);
    QCOMPARE(table.at(1), second);
    QCOMPARE(table.last(), last);

    // Every line names the total of the list item beside it.
    QCOMPARE(r.atLeast.size(), lines);
    QCOMPARE(r.atMost, r.atLeast);
    for (int k = 0; k < lines; ++k)
        QVERIFY2(table.at(k).startsWith(QStringLiteral("P(%1) = ").arg(r.atLeast.at(k))), qPrintable(table.at(k)));
    QCOMPARE(r.atLeastIndex, 0);
    QCOMPARE(r.atMostIndex, lines - 1);
    QCOMPARE(
        r.range, QStringLiteral("Probability roll is between %1 and %2.").arg(r.atLeast.first(), r.atLeast.last()));
    for (const auto &[caption, tip] : { std::pair { r.greaterThan, r.greaterThanTip },
             std::pair { r.lessThan, r.lessThanTip },
             std::pair { r.between, r.betweenTip } }) {
        QCOMPARE(caption, QStringLiteral("100.0%"));
        QCOMPARE(tip, fullTip);
    }
    QCOMPARE(r.average, average);
    QCOMPARE(r.averageTip, average);
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void ComputeTest::rejects_data()
{
    QTest::addColumn<QString>("dice");
    QTest::addColumn<QString>("sides");
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("focusOnDice");
    // The roll state afterwards; a good Compute of 3d4+1 comes first.
    QTest::addColumn<int>("storedSides");
    QTest::addColumn<int>("storedModifier");

    const QString numeric = QStringLiteral("Please enter a numeric value.");
    const QString diceTitle = QStringLiteral("Number of Dice Too High!");
    const QString diceRange = QStringLiteral("Please enter a different value. (1-20)");
    const QString modTitle = QStringLiteral("Modifier value to big or too small");
    const QString modRange = QStringLiteral("Please enter a smaller value. (-32,768 to 32,767)");
    const QString d100Title = QStringLiteral("D100 Roll Limit!");
    const QString d100 = QStringLiteral("Number of dice is limited to 10 for 100-sided rolls.\n"
                                        "Please enter another a smaller value.");

    // clang-format off
    QTest::newRow("empty dice") << "" << "6" << "2" << "Non-numeric Number of Dice!" << numeric << true << 4 << 1;
    QTest::newRow("dice abc") << "abc" << "6" << "2" << "Non-numeric Number of Dice!" << numeric << true << 4 << 1;
    QTest::newRow("empty dice, modifier x") << "" << "6" << "x" << "Non-numeric Number of Dice!" << numeric << true << 4 << 1;
    QTest::newRow("modifier x") << "2" << "6" << "x" << "Non-numeric Roll Modifier!" << numeric << false << 4 << 1;
    QTest::newRow("dice 21") << "21" << "6" << "2" << diceTitle << diceRange << true << 6 << 2;
    QTest::newRow("dice 0") << "0" << "6" << "2" << diceTitle << diceRange << true << 6 << 2;
    QTest::newRow("dice -1") << "-1" << "6" << "2" << diceTitle << diceRange << true << 6 << 2;
    QTest::newRow("dice 0.5 rounds to 0") << "0.5" << "6" << "2" << diceTitle << diceRange << true << 6 << 2;
    QTest::newRow("dice 1e10") << "1e10" << "6" << "2" << diceTitle << diceRange << true << 4 << 1;
    QTest::newRow("modifier 40000") << "2" << "6" << "40000" << modTitle << modRange << false << 4 << 1;
    QTest::newRow("modifier 32767.5 rounds up") << "2" << "6" << "32767.5" << modTitle << modRange << false << 4 << 1;
    QTest::newRow("modifier -32769") << "2" << "6" << "-32769" << modTitle << modRange << false << 4 << 1;
    QTest::newRow("11d100") << "11" << "100" << "2" << d100Title << d100 << true << 100 << 2;
    QTest::newRow("25d100") << "25" << "100" << "2" << d100Title << d100 << true << 100 << 2;
    QTest::newRow("21d100, no modifier") << "21" << "100" << "x" << "Non-numeric Roll Modifier!" << numeric << false << 4 << 1;
    // clang-format on
}

void ComputeTest::rejects()
{
    QFETCH(QString, dice);
    QFETCH(QString, sides);
    QFETCH(QString, modifier);
    QFETCH(QString, title);
    QFETCH(QString, prompt);
    QFETCH(bool, focusOnDice);
    QFETCH(int, storedSides);
    QFETCH(int, storedModifier);

    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("1")));
    DRIVE(m_driver->Enter(dice, sides, modifier));
    const Results before = Results::Of(form);

    m_driver->Click(form.Action[0]);
    const QList<Message> messages = m_driver->watcher().Take();
    QCOMPARE(messages.size(), 1);
    const Message &m = messages.first();
    QCOMPARE(m.title, title);
    QCOMPARE(m.text, prompt);
    QCOMPARE(m.icon, QMessageBox::Critical);
    QCOMPARE(m.buttons, QList<QMessageBox::StandardButton> { QMessageBox::Ok });

    // The box hands the focus to the field at fault with all of its text selected.
    QCoreApplication::processEvents();
    auto *field = qobject_cast<QLineEdit *>((focusOnDice ? form.txtN : form.txtM).Widget());
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(field->selectedText(), field->text());
    QCOMPARE(field->selectionStart(), field->text().isEmpty() ? -1 : 0);

    const QString changed = Results::Of(form).Diff(before);
    QVERIFY2(changed.isEmpty(), qPrintable(changed));
    QCOMPARE(int(rollstats::Sides), storedSides);
    QCOMPARE(int(rollstats::Modifier), storedModifier);
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void ComputeTest::unexpectedError_data()
{
    QTest::addColumn<bool>("inCompute");
    QTest::newRow("nested in Compute") << true;
    QTest::newRow("user pick") << false;
}

// No admitted input fails in a handler, so a seam makes the at-least handler
// throw: inside Compute the command's own route reports it, on a user's pick
// the reporter the form registered does.
void ComputeTest::unexpectedError()
{
    QFETCH(bool, inCompute);
    window::frmMain &form = m_driver->form();
    bool fail = false;
    const auto failWhenTold = [&] {
        if (fail)
            throw runtime::RuntimeError("a handler failed");
    };
    const auto nothing = [] {};
    windowtest::Around(form.cmbGreaterThan.Click, failWhenTold, nothing);
    if (!inCompute)
        DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    fail = true;
    if (inCompute)
        m_driver->Click(form.Action[0]);
    else
        QTest::keyClick(form.cmbGreaterThan.Widget(), Qt::Key_Down);

    const QList<Message> messages = m_driver->watcher().Take();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Unexpected Error!"));
    QCOMPARE(messages[0].text, QStringLiteral("There was an unexpected error. Change values and try again."));
    QCOMPARE(messages[0].icon, QMessageBox::Critical);
    QCOMPARE(windowtest::MousePointer(), window::vbDefault);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    // Compute ends where it failed: the table and lists are written, the average is not.
    QCOMPARE(windowtest::ListCount(form.cmbLessThan), 11);
    QCOMPARE(form.lblAvg.Caption(), std::string(inCompute ? "" : "7.0"));
}

void ComputeTest::reporterGoesWithItsForm()
{
    const auto failing = [] { throw runtime::RuntimeError("a handler failed"); };
    windowtest::MessageWatcher watcher;
    // A later form takes over reporting; the earlier one leaves it to it.
    auto later = std::make_unique<FormDriver>();
    m_driver.reset();
    window::RaiseFromQt(failing);
    QVERIFY(QTest::qWaitFor([&] { return later->watcher().Pending() + watcher.Pending() == 1; }));
    QCOMPARE(
        watcher.Take().value(0).title + later->watcher().Take().value(0).title, QStringLiteral("Unexpected Error!"));
    later.reset();
    window::RaiseFromQt(failing);
    QCoreApplication::processEvents();
    QCOMPARE(watcher.Pending(), 0);
    m_driver = std::make_unique<FormDriver>();
}

QTEST_MAIN(ComputeTest)
#include "window_compute_test.moc"
