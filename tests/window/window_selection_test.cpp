// Picking thresholds after a Compute, the order in which Compute raises the
// list handlers, the clearing of stale results when an input changes, and what
// the form announces of all this to its listeners.
#include "tests/window/form_driver.h"

#include "rollstats/rollstats.h"
#include "rollstats/table.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QTest>

#include <memory>
#include <string>

using windowtest::FormDriver;
using windowtest::Results;

class SelectionTest : public windowtest::FormTest
{
    Q_OBJECT

private Q_SLOTS:
    void picks_data();
    void picks();
    void everyUserPickRaisesClick();
    void computeSelectsAtLeastBeforeAtMost();
    void editingClearsResults_data();
    void editingClearsResults();
    void sidesPickClearsOnlyWhenChanged();
    void sidesCheckFollowsComputedSides();
    void announcesTablesRangesAndClearing_data();
    void announcesTablesRangesAndClearing();
};

void SelectionTest::picks_data()
{
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<QString>("atLeast");
    QTest::addColumn<QString>("atMost");
    QTest::addColumn<QStringList>("shown"); // at least, its tip, at most, its tip, between, its tip
    QTest::addColumn<QString>("range");

    // Ways of 36 for 2d6: at least 7 is 21, at most 4 is 6, 5 to 10 is 27, exactly 7 is 6.
    // clang-format off
    QTest::newRow("at least 7") << "0" << "7" << "12" << QStringList { "58.3%", "58.3333333333333%", "100.0%", "100%", "58.3%", "58.3333333333333%" } << "Probability roll is between 7 and 12.";
    QTest::newRow("at most 4") << "0" << "2" << "4" << QStringList { "100.0%", "100%", "16.7%", "16.6666666666667%", "16.7%", "16.6666666666667%" } << "Probability roll is between 2 and 4.";
    QTest::newRow("crossing picks") << "0" << "10" << "5" << QStringList { "16.7%", "16.6666666666667%", "27.8%", "27.7777777777778%", "75.0%", "75%" } << "Probability roll is between 5 and 10.";
    QTest::newRow("both on 7") << "0" << "7" << "7" << QStringList { "58.3%", "58.3333333333333%", "58.3%", "58.3333333333333%", "16.7%", "16.6666666666667%" } << "Probability roll is between 7 and 7.";
    QTest::newRow("modifier 5 shifts the items") << "5" << "12" << "17" << QStringList { "58.3%", "58.3333333333333%", "100.0%", "100%", "58.3%", "58.3333333333333%" } << "Probability roll is between 12 and 17.";
    QTest::newRow("negative items") << "-9" << "-7" << "-5" << QStringList { "100.0%", "100%", "16.7%", "16.6666666666667%", "16.7%", "16.6666666666667%" } << "Probability roll is between -7 and -5.";
    // clang-format on
}

void SelectionTest::picks()
{
    QFETCH(QString, modifier);
    QFETCH(QString, atLeast);
    QFETCH(QString, atMost);
    QFETCH(QStringList, shown);
    QFETCH(QString, range);

    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), modifier));
    const Results computed = Results::Of(form);
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, atLeast));
    DRIVE(m_driver->PickByKeys(form.cmbLessThan, atMost));

    const Results r = Results::Of(form);
    QCOMPARE(
        QStringList({ r.greaterThan, r.greaterThanTip, r.lessThan, r.lessThanTip, r.between, r.betweenTip }), shown);
    QCOMPARE(r.range, range);
    // Picks read the roll, they never change it or the rest of the window.
    QCOMPARE(r.counts, computed.counts);
    QCOMPARE(r.totalOutcomes, computed.totalOutcomes);
    QCOMPARE(r.table, computed.table);
    QCOMPARE(r.average, computed.average);
}

void SelectionTest::everyUserPickRaisesClick()
{
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    int atLeast = 0;
    const auto count = [&] { ++atLeast; };
    const auto nothing = [] {};
    windowtest::Around(form.cmbGreaterThan.Click, count, nothing);

    DRIVE(m_driver->PickInPopup(form.cmbGreaterThan, QStringLiteral("7")));
    QCOMPARE(atLeast, 1);
    QCOMPARE(form.lblGreaterThan.Caption(), std::string("58.3%"));
    // Picking the selected item again is a pick too.
    DRIVE(m_driver->PickInPopup(form.cmbGreaterThan, QStringLiteral("7")));
    QCOMPARE(atLeast, 2);
    // Each arrow key is one pick.
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, QStringLiteral("9")));
    QCOMPARE(atLeast, 4);
    QCOMPARE(form.lblGreaterThan.Caption(), std::string("27.8%"));
}

void SelectionTest::computeSelectsAtLeastBeforeAtMost()
{
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, QStringLiteral("10")));
    DRIVE(m_driver->PickByKeys(form.cmbLessThan, QStringLiteral("5")));
    DRIVE(m_driver->Type(form.txtN, QStringLiteral("3")));

    QStringList seen;
    const auto state = [&](const char *when) {
        seen << QStringLiteral("%1: at most %2 of %3, %4 / %5 / %6 / avg \"%7\" / %8 lines / pointer %9")
                    .arg(QLatin1String(when))
                    .arg(form.cmbLessThan.ListIndex())
                    .arg(windowtest::ListCount(form.cmbLessThan))
                    .arg(form.Label8.Widget()->text(),
                        form.lblBetween.Widget()->text(),
                        form.lblGreaterThan.Widget()->text(),
                        form.lblAvg.Widget()->text())
                    .arg(QString::fromStdString(form.Text2.Text()).count(QStringLiteral("\r\n")))
                    .arg(windowtest::MousePointer());
    };
    const auto atLeastIn = [&] { state("at least in"); };
    const auto atLeastOut = [&] { state("at least out"); };
    const auto atMostIn = [&] { state("at most in"); };
    const auto atMostOut = [&] { state("at most out"); };
    windowtest::Around(form.cmbGreaterThan.Click, atLeastIn, atLeastOut);
    windowtest::Around(form.cmbLessThan.Click, atMostIn, atMostOut);
    m_driver->Click(form.Action[0]);

    // The table and both lists are filled first, under the busy pointer; the
    // at-least handler finds no at-most pick and leaves the range alone; the
    // average comes last.
    const QStringList expected {
        "at least in: at most -1 of 16, Probability roll is between 5 and 10. /  /  / avg \"\" / 16 lines / pointer 11",
        "at least out: at most -1 of 16, Probability roll is between 5 and 10. /  / 100.0% / avg \"\" / 16 lines / "
        "pointer 11",
        "at most in: at most 15 of 16, Probability roll is between 5 and 10. /  / 100.0% / avg \"\" / 16 lines / "
        "pointer 11",
        "at most out: at most 15 of 16, Probability roll is between 3 and 18. / 100.0% / 100.0% / avg \"\" / 16 lines "
        "/ pointer 11",
    };
    QCOMPARE(seen, expected);
    QCOMPARE(form.lblAvg.Caption(), std::string("10.5"));
}

void SelectionTest::editingClearsResults_data()
{
    QTest::addColumn<bool>("dice");
    QTest::newRow("dice") << true;
    QTest::newRow("modifier") << false;
}

void SelectionTest::editingClearsResults()
{
    QFETCH(bool, dice);

    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->PickByKeys(form.cmbGreaterThan, QStringLiteral("7")));
    const Results before = Results::Of(form);

    QWidget *field = (dice ? form.txtN : form.txtM).Widget();
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_1);

    Results expected = before;
    expected.atLeast.clear();
    expected.atMost.clear();
    expected.atLeastIndex = expected.atMostIndex = -1;
    expected.greaterThan.clear();
    expected.lessThan.clear();
    expected.between.clear();
    expected.average.clear();
    const QString diff = Results::Of(form).Diff(expected);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    // Undoing the edit is an edit too; nothing comes back.
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
    QCOMPARE(form.lblAvg.Caption(), std::string());
}

void SelectionTest::sidesPickClearsOnlyWhenChanged()
{
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("0")));
    DRIVE(m_driver->PickByKeys(form.cmbLessThan, QStringLiteral("4")));
    const Results before = Results::Of(form);

    DRIVE(m_driver->PickInPopup(form.cmbF, QStringLiteral("6")));
    const QString diff = Results::Of(form).Diff(before);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    DRIVE(m_driver->PickInPopup(form.cmbF, QStringLiteral("8")));
    const Results after = Results::Of(form);
    QCOMPARE(after.atLeast, QStringList());
    QCOMPARE(after.atMost, QStringList());
    QCOMPARE(QStringList({ after.greaterThan, after.lessThan, after.between, after.average }),
        QStringList({ "", "", "", "" }));
    QCOMPARE(after.table, before.table);
    QCOMPARE(after.range, QStringLiteral("Probability roll is between 2 and 4."));
    QCOMPARE(after.lessThanTip, QStringLiteral("16.6666666666667%"));
    QCOMPARE(after.averageTip, QStringLiteral("7.0"));
}

void SelectionTest::sidesCheckFollowsComputedSides()
{
    // A Compute refused for its dice still stores the sides it read.
    window::frmMain &form = m_driver->form();
    const auto rejected = m_driver->ComputeRejected(QStringLiteral("11"), QStringLiteral("100"), QStringLiteral("0"));
    DRIVE(void());
    QCOMPARE(rejected.title, QStringLiteral("D100 Roll Limit!"));
    QCOMPARE(int(rollstats::Sides), 100);
    DRIVE(m_driver->Type(form.txtN, QStringLiteral("10")));
    m_driver->Click(form.Action[0]);
    DRIVE(m_driver->VerifyNoMessages());
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 991);
    // 100 is what the lists were computed with: picking it again keeps them.
    DRIVE(m_driver->PickInPopup(form.cmbF, QStringLiteral("100")));
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 991);
    DRIVE(m_driver->PickByKeys(form.cmbF, QStringLiteral("30")));
    QCOMPARE(windowtest::ListCount(form.cmbGreaterThan), 0);
}

void SelectionTest::announcesTablesRangesAndClearing_data()
{
    // A step: compute or reject DICE SIDES MODIFIER (what typing them
    // announces is not heard), least or most TOTAL picked in its list's popup,
    // dice N typed, sides N picked. Each step hears its own announcements.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("heard");
    // clang-format off
    QTest::newRow("computes, picks to both ends, an edit")
        << QStringList { "compute 3 6 1", "least 10", "most 5", "most 4", "least 19", "most 19", "dice 4" }
        << QStringList { "table 3d6+1 4..19 of 216; range 0 15", "range 6 15", "range 1 6", "range 0 6", "range 0 15", "range 15 15", "cleared" };
    QTest::newRow("rejected, then computed again")
        << QStringList { "compute 2 6 0", "reject 21 6 0", "compute 1 100 -3", "least -2", "sides 100", "sides 8" }
        << QStringList { "table 2d6 2..12 of 36; range 0 10", "", "table 1d100-3 -2..97 of 100; range 0 99", "range 0 99", "", "cleared" };
    // clang-format on
}

void SelectionTest::announcesTablesRangesAndClearing()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, heard);
    m_driver = std::make_unique<FormDriver>(FormDriver::Build::FormAlone);
    window::frmMain &form = m_driver->form();
    QVERIFY(form.Window()->menuWidget() == nullptr);
    QStringList log;
    const auto hear = [&log](const QString &what) {
        // Typing a text changes it once a key; one clearing is heard for all.
        if (log.isEmpty() || log.last() != what || what != QLatin1String("cleared"))
            log << what;
    };
    form.TableWritten = [&](std::shared_ptr<const rollstats::Table> table) {
        const QString roll = QString::fromStdString(table->Roll());
        const QString ends = QStringLiteral("%1..%2").arg(table->FirstTotal()).arg(table->LastTotal());
        hear(QStringLiteral("table %1 %2 of %3").arg(roll, ends, QString::number(table->totalOutcomes)));
    };
    form.RangePicked = [&](std::size_t first, std::size_t last) {
        hear(QStringLiteral("range %1 %2").arg(first).arg(last));
    };
    form.ResultsCleared = [&] { hear(QStringLiteral("cleared")); };

    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QStringList words = steps.at(i).split(QLatin1Char(' '));
        const QString &what = words.at(0);
        if (what == QLatin1String("compute") || what == QLatin1String("reject")) {
            DRIVE(m_driver->Enter(words.at(1), words.at(2), words.at(3)));
            log.clear();
            m_driver->Click(form.Action[0]);
            QCOMPARE(m_driver->watcher().Take().size(), what == QLatin1String("reject") ? 1 : 0);
        } else if (what == QLatin1String("least")) {
            DRIVE(m_driver->PickInPopup(form.cmbGreaterThan, words.at(1)));
        } else if (what == QLatin1String("most")) {
            DRIVE(m_driver->PickInPopup(form.cmbLessThan, words.at(1)));
        } else if (what == QLatin1String("dice")) {
            DRIVE(m_driver->Type(form.txtN, words.at(1)));
        } else {
            DRIVE(m_driver->PickInPopup(form.cmbF, words.at(1)));
        }
        QCOMPARE(log.join(QStringLiteral("; ")), heard.at(i));
        log.clear();
    }
}

QTEST_MAIN(SelectionTest)
#include "window_selection_test.moc"
