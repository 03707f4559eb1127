// The Compare Rolls window as a user meets it: its copied table against the
// command line's, a bad roll among good ones, an edit during a long count,
// long counts stopped one by one, a
// settings file good and bad, a chart that cannot be saved from either window; and the chart
// window naming exact ties among its most likely totals; a roll of labels
// beside rolls of totals, in the table, the plot's description, the head to
// head and the copied tables.
#include "tests/window/form_driver.h"

#include "window/chart.h"
#include "window/compare.h"
#include "window/compare_plot.h"
#include "window/menus.h"
#include "window/startup.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using compare::View;

class CompareTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void opensFromTheViewMenu_data();
    void opensFromTheViewMenu();
    void copiesTheCommandLinesTable_data();
    void copiesTheCommandLinesTable();
    void headToHeadReadsAsTheCommandLine_data();
    void headToHeadReadsAsTheCommandLine();
    void tabsSwitchTablesByKeyboard();
    void mainWindowCopiesTheCommandLinesTable_data();
    void mainWindowCopiesTheCommandLinesTable();
    void roundsStatisticsFromExactValues_data();
    void roundsStatisticsFromExactValues();
    void cursorReadsEveryRoll_data();
    void cursorReadsEveryRoll();
    void namesTheLikeliestRoll_data();
    void namesTheLikeliestRoll();
    void badRollLeavesTheOthers_data();
    void badRollLeavesTheOthers();
    void editDuringLongCountEndsWithIt();
    void stopsOneRollLeavingTheOthers();
    void readsSettings_data();
    void readsSettings();
    void keepsSettingsBetweenRuns();
    void keepsLongRollsWhole_data();
    void keepsLongRollsWhole();
    void mnemonicsNeverTypeIntoRolls_data();
    void mnemonicsNeverTypeIntoRolls();
    void tellsWhyChartIsNotSaved_data();
    void tellsWhyChartIsNotSaved();
    void keepsOneToEightRolls();
    void cursorLeavesWithItsTotal();
    void copiesNothingWithoutAValidRoll();
    void namesExactTies_data();
    void namesExactTies();
    void showsLabelsBesideTotals();
    void headToHeadLeavesLabelsOut();
    void copiesLabelsAfterTotals_data();
    void copiesLabelsAfterTotals();

private:
    std::unique_ptr<window::CompareWindow> Open(const QStringList &rolls);
    // What pipwright-cli --csv writes for the rolls, LF line ends.
    static QByteArray CommandLineCsv(const QStringList &rolls);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace
{

// Waits for every roll to be counted.
bool Settled(const window::CompareWindow &compare)
{
    return QTest::qWaitFor([&] { return !compare.Computing(); }, 60'000);
}

QStringList TableColumn(const QTableWidget *table, int column)
{
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << table->item(row, column)->text();
    return cells;
}

} // namespace

void CompareTest::initTestCase()
{
    // The calculator keeps the window's settings in the standard place.
    QStandardPaths::setTestModeEnabled(true);
}

void CompareTest::init()
{
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pipwright/pipwright.ini"));
    m_dir = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<window::CompareWindow> CompareTest::Open(const QStringList &rolls)
{
    return windowtest::OpenCompare(rolls, m_dir->filePath(QStringLiteral("settings.ini")));
}

void CompareTest::opensFromTheViewMenu_data()
{
    QTest::addColumn<QString>("dice");
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<QString>("roll");
    QTest::newRow("before any Compute") << ""
                                        << ""
                                        << "2d20kh1";
    QTest::newRow("after a Compute") << "3"
                                     << "1"
                                     << "3d6+1";
    QTest::newRow("after a negative modifier") << "4"
                                               << "-2"
                                               << "4d6-2";
}

void CompareTest::opensFromTheViewMenu()
{
    QFETCH(QString, dice);
    QFETCH(QString, modifier);
    QFETCH(QString, roll);
    windowtest::FormDriver driver;
    if (!dice.isEmpty())
        DRIVE(driver.Compute(dice, QStringLiteral("6"), modifier));
    QWidget *box = driver.form().txtN.Widget();
    const QString typed = static_cast<QLineEdit *>(box)->text();
    box->setFocus();
    QAction *item = driver.calculator().Menus().CompareItem();
    QTest::keyClick(box, Qt::Key_R, Qt::ControlModifier);
    window::CompareWindow *compare = driver.calculator().Compare();
    QVERIFY(compare && compare->isVisible());
    QVERIFY(item->isChecked());
    QCOMPARE(compare->windowTitle(), QStringLiteral("Compare Rolls"));
    QVERIFY(!compare->isModal());
    QCOMPARE(compare->RollEdit(0)->text(), roll);
    // The key went to the menu, not into the box.
    QCOMPARE(static_cast<QLineEdit *>(box)->text(), typed);
    QVERIFY(Settled(*compare));
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ roll }));
    compare->close();
    QVERIFY(!item->isChecked());
    item->trigger();
    QCOMPARE(driver.calculator().Compare(), compare);
    QVERIFY(compare->isVisible());
}

void CompareTest::copiesTheCommandLinesTable_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("valid");
    QTest::newRow("advantage against +5") << QStringList { "2d20kh1", "1d20+5" } << QStringList { "2d20kh1", "1d20+5" };
    QTest::newRow("ranges apart") << QStringList { "1d4", "3d6+10", "1d2-5" }
                                  << QStringList { "1d4", "3d6+10", "1d2-5" };
    QTest::newRow("a bad roll left out") << QStringList { "4d6kh3", "4d6kh9", "2d6+6" }
                                         << QStringList { "4d6kh3", "2d6+6" };
    // The same roll twice: the second against the first is the first against itself.
    QTest::newRow("a roll twice, one unbounded")
        << QStringList { "3d6", "1d6!", "3d6" } << QStringList { "3d6", "1d6!", "3d6" };
}

void CompareTest::copiesTheCommandLinesTable()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, valid);
    auto compare = Open(typed);
    QVERIFY(Settled(*compare));
    QTest::keyClick(compare->RollEdit(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied);
    const QByteArray csv = QByteArray(copied->data(QStringLiteral("text/csv"))).replace("\r\n", "\n");
    QCOMPARE(copied->data(QStringLiteral("text/csv")).count("\r\n"), csv.count('\n'));
    // The totals, one empty line, and each roll against each.
    const qsizetype gap = csv.indexOf("\n\n");
    QVERIFY(gap > 0);
    const QByteArray totals = csv.left(gap + 1);
    const QList<QByteArray> matrix = csv.mid(gap + 2).chopped(1).split('\n');

    const QByteArray printed = CommandLineCsv(valid);
    QVERIFY(!printed.isEmpty());
    QCOMPARE(totals, printed);
    QCOMPARE(matrix.size(), valid.size() + 1);
    QCOMPARE(matrix[0], ("beats," + valid.join(',')).toUtf8());
    // Each cell is the command line's chance for its pair: wins where the
    // line's roll comes first, losses where it comes second.
    const QByteArray pairs = CommandLineCsv(QStringList { QStringLiteral("--versus") } + valid);
    QList<QByteArray> lines = pairs.chopped(1).split('\n');
    QCOMPARE(lines.takeFirst(), "first,second,wins percent,ties percent,loses percent,wins,ties,loses,undecided");
    for (qsizetype first = 0; first < valid.size(); ++first) {
        for (qsizetype second = first + 1; second < valid.size(); ++second) {
            const QList<QByteArray> pair = lines.takeFirst().split(',');
            QCOMPARE(pair[0], valid[first].toUtf8());
            QCOMPARE(pair[1], valid[second].toUtf8());
            QCOMPARE(matrix[first + 1].split(',')[second + 1], pair[2]);
            QCOMPARE(matrix[second + 1].split(',')[first + 1], pair[4]);
        }
    }
    for (qsizetype row = 0; row < valid.size(); ++row)
        QCOMPARE(matrix[row + 1].split(',')[0], valid[row].toUtf8());
    // The tab-separated copy is the same tables.
    QCOMPARE(copied->text(), QString::fromUtf8(QByteArray(csv).replace(',', '\t')));
}

void CompareTest::headToHeadReadsAsTheCommandLine_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("attack against armour") << QStringList { "1d20+7", "10+1d6" } << QStringList { "1", "2" };
    QTest::newRow("advantage, a bad roll between")
        << QStringList { "2d20kh1+5", "1d6kh9", "1d20+8", "3d6" } << QStringList { "1", "3", "4" };
}

void CompareTest::headToHeadReadsAsTheCommandLine()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, numbers);
    auto compare = Open(typed);
    QVERIFY(Settled(*compare));
    QTableWidget *table = compare->HeadToHeadTable();
    QStringList valid;
    for (const QString &number : numbers)
        valid << typed[number.toInt() - 1];
    QCOMPARE(table->rowCount(), valid.size());
    QCOMPARE(table->columnCount(), valid.size() + 1);
    QCOMPARE(TableColumn(table, 0), valid);
    for (int i = 0; i < valid.size(); ++i) {
        QCOMPARE(table->horizontalHeaderItem(i + 1)->text(), numbers[i]);
        QCOMPARE(table->verticalHeaderItem(i)->text(), numbers[i]);
    }

    QProcess cli;
    cli.start(QStringLiteral(PIPWRIGHT_CLI), QStringList { QStringLiteral("--versus") } + valid);
    QVERIFY(cli.waitForFinished(60'000));
    QCOMPARE(cli.exitCode(), 0);
    // A line of percents and a line of exact fractions for each pair.
    QList<QByteArray> lines = cli.readAllStandardOutput().chopped(1).split('\n');
    static const QRegularExpression pair(QStringLiteral("^(.+) vs (.+): wins (\\S+)%, ties (\\S+)%, loses (\\S+)%$"));
    for (int first = 0; first < valid.size(); ++first) {
        for (int second = first + 1; second < valid.size(); ++second) {
            const QString line = QString::fromUtf8(lines.takeFirst());
            lines.takeFirst();
            const QRegularExpressionMatch read = pair.match(line);
            QVERIFY2(read.hasMatch(), qPrintable(line));
            const QTableWidgetItem *ahead = table->item(first, second + 1);
            const QTableWidgetItem *behind = table->item(second, first + 1);
            QCOMPARE(ahead->toolTip(), line);
            QCOMPARE(ahead->data(Qt::AccessibleDescriptionRole).toString(), line);
            QCOMPARE(behind->toolTip(),
                QStringLiteral("%1 vs %2: wins %3%, ties %4%, loses %5%")
                    .arg(read.captured(2), read.captured(1), read.captured(5), read.captured(4), read.captured(3)));
            // Shown to two decimals.
            QCOMPARE(ahead->text(), QString::number(read.captured(3).toDouble(), 'f', 2) + QLatin1Char('%'));
            QCOMPARE(behind->text(), QString::number(read.captured(5).toDouble(), 'f', 2) + QLatin1Char('%'));
        }
    }
}

void CompareTest::tabsSwitchTablesByKeyboard()
{
    auto compare = Open({ "1d20+7", "10+1d6" });
    QVERIFY(Settled(*compare));
    QVERIFY(compare->Table()->isVisible() && !compare->HeadToHeadTable()->isVisible());
    // Add Roll, the tabs, then the target.
    compare->AddButton()->setFocus();
    QTest::keyClick(compare->AddButton(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), compare->Tabs());
    QTest::keyClick(compare->Tabs(), Qt::Key_Right);
    QVERIFY(compare->HeadToHeadTable()->isVisible() && !compare->Table()->isVisible());
    QTest::keyClick(compare->Tabs(), Qt::Key_Tab);
    QVERIFY(compare->Target()->isAncestorOf(QApplication::focusWidget())
        || QApplication::focusWidget() == compare->Target());
    // The statistics' mnemonic from a roll's box, which it must not reach.
    QTest::keyClick(compare->RollEdit(0), Qt::Key_I, Qt::AltModifier);
    QVERIFY(compare->Table()->isVisible());
    QCOMPARE(compare->RollEdit(0)->text(), QStringLiteral("1d20+7"));
}

QByteArray CompareTest::CommandLineCsv(const QStringList &rolls)
{
    QProcess cli;
    cli.start(QStringLiteral(PIPWRIGHT_CLI), QStringList { QStringLiteral("--csv") } + rolls);
    if (!cli.waitForFinished(60'000) || cli.exitCode() != 0)
        return {};
    return cli.readAllStandardOutput().replace("\r\n", "\n");
}

void CompareTest::mainWindowCopiesTheCommandLinesTable_data()
{
    QTest::addColumn<QStringList>("entered");
    QTest::addColumn<QString>("roll");
    // Doubles wrote 16.666666666666664 for the exact 16.666666666666667, and
    // 50 for 50.000000000000000.
    QTest::newRow("1d6") << QStringList { "1", "6", "0" } << "1d6";
    QTest::newRow("1d2") << QStringList { "1", "2", "0" } << "1d2";
    QTest::newRow("3d6+1") << QStringList { "3", "6", "1" } << "3d6+1";
    QTest::newRow("4d6-2") << QStringList { "4", "6", "-2" } << "4d6-2";
    // Counts past 2^53, which no double holds.
    QTest::newRow("10d100") << QStringList { "10", "100", "0" } << "10d100";
    QTest::newRow("20d30-32768") << QStringList { "20", "30", "-32768" } << "20d30-32768";
}

void CompareTest::mainWindowCopiesTheCommandLinesTable()
{
    QFETCH(QStringList, entered);
    QFETCH(QString, roll);
    windowtest::FormDriver driver;
    DRIVE(driver.Compute(entered[0], entered[1], entered[2]));
    QGuiApplication::clipboard()->clear();
    driver.calculator().Menus().CopyTable()->trigger();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied);
    const QByteArray csv = copied->data(QStringLiteral("text/csv"));
    QCOMPARE(csv.count("\r\n"), csv.count('\n'));
    const QByteArray printed = CommandLineCsv({ roll });
    QVERIFY(printed.startsWith("total,outcomes,percent\n"));
    QCOMPARE(QByteArray(csv).replace("\r\n", "\n"), printed);
    QCOMPARE(copied->text(), QString::fromUtf8(QByteArray(printed).replace(',', '\t')));
}

void CompareTest::roundsStatisticsFromExactValues_data()
{
    QTest::addColumn<QString>("roll");
    QTest::addColumn<QString>("mean");
    QTest::addColumn<QString>("deviation");
    // The mean 33/32 is 1.03125 exactly: half to even is 1.0312, where
    // doubles rounded half up to 1.0313. The deviation is sqrt(31)/32.
    QTest::newRow("5d2kl1") << "5d2kl1"
                            << "1.0312"
                            << "0.174";
    // Nearly certain to be 2: the mean is 2 - 1/1024.
    QTest::newRow("10d2kh1") << "10d2kh1"
                             << "1.999"
                             << "0.0312";
    QTest::newRow("3d6+1") << "3d6+1"
                           << "11.5"
                           << "2.958";
    QTest::newRow("negative") << "1d6-10"
                              << "-6.5"
                              << "1.7078";
    QTest::newRow("a constant") << "7"
                                << "7"
                                << "0";
}

void CompareTest::roundsStatisticsFromExactValues()
{
    QFETCH(QString, roll);
    QFETCH(QString, mean);
    QFETCH(QString, deviation);
    auto compare = Open({ roll });
    QVERIFY(Settled(*compare));
    QCOMPARE(TableColumn(compare->Table(), 3), QStringList({ mean }));
    QCOMPARE(TableColumn(compare->Table(), 4), QStringList({ deviation }));
}

void CompareTest::cursorReadsEveryRoll_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("read");
    const int exactly = static_cast<int>(View::Exactly);
    const QStringList two { "1d4", "1d6+100" };
    // The axis breaks between 4 and 101; the keys step over the break.
    QTest::newRow("home") << two << exactly << "h" << QStringList { "P(1) = 25.000000000%", "P(1) = 0.000000000%" };
    QTest::newRow("across the break") << two << exactly << "hrrrr"
                                      << QStringList { "P(101) = 0.000000000%", "P(101) = 16.666666667%" };
    QTest::newRow("end") << two << exactly << "e" << QStringList { "P(106) = 0.000000000%", "P(106) = 16.666666667%" };
    QTest::newRow("back across") << two << exactly << "ellllll"
                                 << QStringList { "P(4) = 25.000000000%", "P(4) = 0.000000000%" };
    QTest::newRow("at least, first step") << QStringList { "2d6" } << static_cast<int>(View::AtLeast) << "r"
                                          << QStringList { "P(>= 2) = 100.000000000%" };
    QTest::newRow("at least") << QStringList { "2d6" } << static_cast<int>(View::AtLeast) << "hr"
                              << QStringList { "P(>= 3) = 97.222222222%" };
    QTest::newRow("at most") << QStringList { "2d6", "1d12" } << static_cast<int>(View::AtMost) << "el"
                             << QStringList { "P(<= 11) = 97.222222222%", "P(<= 11) = 91.666666667%" };
}

void CompareTest::cursorReadsEveryRoll()
{
    QFETCH(QStringList, rolls);
    QFETCH(int, view);
    QFETCH(QString, keys);
    QFETCH(QStringList, read);
    auto compare = Open(rolls);
    QVERIFY(Settled(*compare));
    compare->SetView(static_cast<View>(view));
    for (const QChar key : keys)
        QTest::keyClick(compare->Plot(),
            key == 'h'       ? Qt::Key_Home
                : key == 'e' ? Qt::Key_End
                : key == 'l' ? Qt::Key_Left
                             : Qt::Key_Right);
    QCOMPARE(TableColumn(compare->Table(), 6), read);
    QVERIFY(compare->Plot()->accessibleName().startsWith(rolls[0] + QStringLiteral(": ") + read[0]));
}

void CompareTest::namesTheLikeliestRoll_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("sense");
    QTest::addColumn<QString>("named");
    const QStringList rolls { "2d20kh1", "1d20+5" };
    QTest::newRow("at least 15") << rolls << 15 << "at least"
                                 << "at least 15: 1d20+5, 55.000000000%.";
    QTest::newRow("beyond one roll") << rolls << 21 << "at least"
                                     << "at least 21: 1d20+5, 25.000000000%.";
    QTest::newRow("at most 1") << rolls << 1 << "at most"
                               << "at most 1: 2d20kh1, 0.250000000%.";
    QTest::newRow("exactly 20") << rolls << 20 << "exactly"
                                << "exactly 20: 2d20kh1, 9.750000000%.";
    QTest::newRow("a tie") << QStringList { "1d6", "2d6kl1", "1d6" } << 4 << "at least"
                           << "at least 4: 1d6 and 1d6, 50.000000000% each.";
    QTest::newRow("out of reach") << rolls << 30 << "at least"
                                  << "No roll can throw at least 30.";
}

void CompareTest::namesTheLikeliestRoll()
{
    QFETCH(QStringList, rolls);
    QFETCH(int, target);
    QFETCH(QString, sense);
    QFETCH(QString, named);
    auto compare = Open(rolls);
    compare->Target()->setValue(target);
    compare->Sense()->setCurrentIndex(compare->Sense()->findText(sense));
    QVERIFY(Settled(*compare));
    const QString description = compare->Plot()->accessibleDescription();
    QVERIFY2(description.startsWith(rolls.join(QStringLiteral(", ")) + QStringLiteral(", exactly. ")),
        qPrintable(description));
    QVERIFY2(description.endsWith(named), qPrintable(description));
}

void CompareTest::badRollLeavesTheOthers_data()
{
    QTest::addColumn<QString>("bad");
    QTest::addColumn<int>("character");
    QTest::newRow("keeps more than it throws") << "2d20kh3" << 7;
    QTest::newRow("no sides") << "3d" << 3;
    QTest::newRow("stray letter") << "1d6x" << 4;
    QTest::newRow("dangling sign") << "1d8+" << 5;
    QTest::newRow("after leading spaces") << "  1d6x" << 6;
}

void CompareTest::badRollLeavesTheOthers()
{
    QFETCH(QString, bad);
    QFETCH(int, character);
    windowtest::MessageWatcher watcher;
    auto compare = Open({ "3d6", "2d6", "1d12" });
    QVERIFY(Settled(*compare));
    QLineEdit *edit = compare->RollEdit(1);
    edit->selectAll();
    QTest::keyClicks(edit, bad);
    QVERIFY(Settled(*compare));
    QVERIFY2(
        compare->RollStatus(1).contains(QRegularExpression(QStringLiteral("^At character %1: \\S").arg(character))),
        qPrintable(compare->RollStatus(1)));
    QCOMPARE(compare->RollStatus(0), QString());
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "3d6", "1d12" }));
    QCOMPARE(TableColumn(compare->Table(), 2), QStringList({ "18", "12" }));
    QCOMPARE(compare->Shown().Rolls().size(), 2u);
    QVERIFY(compare->Plot()->accessibleName().contains(QStringLiteral("3d6, 1d12, exactly")));
    QCOMPARE(watcher.Pending(), 0);

    // Mended, it takes its place again.
    edit->setText(QStringLiteral("1d10"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->RollStatus(1), QString());
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "3d6", "1d10", "1d12" }));
}

void CompareTest::editDuringLongCountEndsWithIt()
{
    auto compare = Open({ "1d20+5", "2d6" });
    QVERIFY(Settled(*compare));
    QLineEdit *edit = compare->RollEdit(0);
    // Edits faster than the counts: each one finds the one before still
    // running or its answer still on the way.
    for (const char *text : { "100d1000", "100d100kh50", "99d100kl49" })
        edit->setText(QString::fromLatin1(text));
    QVERIFY(compare->Computing());
    // The old roll may still be drawn, but it is no longer typed: not copied.
    compare->CopyTable();
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.startsWith(QStringLiteral("total\toutcomes\tpercent\n2\t1\t")), qPrintable(copied));
    // Eleven totals and their heading; an empty line; the head to head of one roll.
    QCOMPARE(copied.count(QLatin1Char('\n')), 12 + 1 + 2);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("3d6+1"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->RollStatus(0), QString());
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "3d6+1", "2d6" }));
    QCOMPARE(TableColumn(compare->Table(), 1), QStringList({ "4", "2" }));
    QCOMPARE(TableColumn(compare->Table(), 3), QStringList({ "11.5", "7" }));
    // A late answer for an older text would bring it back.
    QTest::qWait(500);
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "3d6+1", "2d6" }));
}

void CompareTest::stopsOneRollLeavingTheOthers()
{
    const QStringList rolls { "2d6", "100d2!!kh1", "1d20+5", "100d2!!kh1" };
    auto compare = Open(rolls);
    const auto counting = [&] {
        for (const QLabel *label : compare->findChildren<QLabel *>()) {
            if (label->isVisible() && label->text().startsWith(QStringLiteral("Counting")))
                return label->text();
        }
        return QString();
    };
    // The short rolls answer while the long ones count, which the window names.
    QVERIFY(QTest::qWaitFor([&] { return counting() == QStringLiteral("Counting Rolls 2, 4..."); }, 10'000));
    QVERIFY(QTest::qWaitFor([&] { return compare->Table()->rowCount() == 2; }, 10'000));
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "2d6", "1d20+5" }));
    QCOMPARE(compare->RollStatus(1), QStringLiteral("Working..."));
    // Its row's buttons: Remove, then Stop.
    QPushButton *stop = compare->RollEdit(1)->parentWidget()->findChildren<QPushButton *>().last();
    QVERIFY(stop->isVisible() && stop->accessibleName() == QStringLiteral("Stop counting roll 2"));
    QTest::mouseClick(stop, Qt::LeftButton);
    const QString stopped = QStringLiteral("Stopped. Edit the roll to count it again.");
    QCOMPARE(compare->RollStatus(1), stopped);
    QVERIFY(!stop->isVisible());
    QCOMPARE(counting(), QStringLiteral("Counting Roll 4..."));
    // Escape in its box stops the other.
    QTest::keyClick(compare->RollEdit(3), Qt::Key_Escape);
    QCOMPARE(compare->RollStatus(3), stopped);
    QVERIFY(Settled(*compare));
    QCOMPARE(counting(), QString());
    for (int row = 0; row < 4; ++row)
        QCOMPARE(compare->RollEdit(row)->text(), rolls[row]);
    QCOMPARE(TableColumn(compare->Table(), 3), QStringList({ "7", "15.5" }));
    // Edited, a stopped roll counts again.
    compare->RollEdit(1)->setText(QStringLiteral("3d6"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->RollStatus(1), QString());
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "2d6", "3d6", "1d20+5" }));
}

void CompareTest::readsSettings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<QStringList>("invalid");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("sense");
    QTest::addColumn<int>("view");
    const int least = static_cast<int>(View::AtLeast);
    const int exactly = static_cast<int>(View::Exactly);
    QTest::newRow("good") << QByteArray("[compare]\nrolls=3d6, 2d20kh1\ntarget=12\nsense=at most\nview=at least\n")
                          << QStringList { "3d6", "2d20kh1" } << QStringList() << 12 << "at most" << least;
    QTest::newRow("rolls no longer valid")
        << QByteArray("[compare]\nrolls=2d20kh3, 1d6, banana\ntarget=7\nsense=exactly\n")
        << QStringList { "2d20kh3", "1d6", "banana" } << QStringList { "2d20kh3", "banana" } << 7 << "exactly"
        << exactly;
    QTest::newRow("nonsense values") << QByteArray("[compare]\nrolls=\ntarget=lots\nsense=sideways\nview=@Invalid()\n")
                                     << QStringList { "1d6" } << QStringList() << 15 << "at least" << exactly;
    // The target box cannot hold it: it is not taken.
    QTest::newRow("target out of range") << QByteArray("[compare]\ntarget=-1000000000\n") << QStringList { "1d6" }
                                         << QStringList() << 15 << "at least" << exactly;
    QTest::newRow("more rolls than fit") << QByteArray("[compare]\nrolls=1d2,1d3,1d4,1d5,1d6,1d8,1d10,1d12,1d20\n")
                                         << QStringList { "1d2", "1d3", "1d4", "1d5", "1d6", "1d8", "1d10", "1d12" }
                                         << QStringList() << 15 << "at least" << exactly;
    QTest::newRow("not a settings file") << QByteArray("\x89PNG\r\n\x1a\n\x00\x00[compare\n=rolls=\xff\xfe", 24)
                                         << QStringList { "1d6" } << QStringList() << 15 << "at least" << exactly;
}

void CompareTest::readsSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, rolls);
    QFETCH(QStringList, invalid);
    QFETCH(int, target);
    QFETCH(QString, sense);
    QFETCH(int, view);
    QFile settings(m_dir->filePath(QStringLiteral("settings.ini")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(file);
    settings.close();

    auto compare = Open({ "1d6" });
    QVERIFY(Settled(*compare));
    QStringList texts;
    QStringList failed;
    for (int row = 0; row < compare->RollCount(); ++row) {
        texts << compare->RollEdit(row)->text();
        if (!compare->RollStatus(row).isEmpty())
            failed << texts.last();
    }
    QCOMPARE(texts, rolls);
    QCOMPARE(failed, invalid);
    QCOMPARE(compare->Target()->value(), target);
    QCOMPARE(compare->Sense()->currentText(), sense);
    QVERIFY(compare->findChildren<QRadioButton *>().at(view)->isChecked());
}

void CompareTest::keepsSettingsBetweenRuns()
{
    // First without a file, then a folder where the file should be: both open
    // with the roll they are given.
    for (const bool unreadable : { false, true }) {
        m_dir = std::make_unique<QTemporaryDir>();
        if (unreadable)
            QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("settings.ini")));
        auto compare = Open({ "2d20kh1" });
        QCOMPARE(compare->RollCount(), 1);
        QCOMPARE(compare->RollEdit(0)->text(), QStringLiteral("2d20kh1"));
        QVERIFY(Settled(*compare));
        QCOMPARE(compare->RollStatus(0), QString());
    }
    m_dir = std::make_unique<QTemporaryDir>();
    {
        auto compare = Open({ "3d6", "4d6kh3" });
        compare->Target()->setValue(13);
        compare->Sense()->setCurrentIndex(compare->Sense()->findText(QStringLiteral("exactly")));
        compare->SetView(View::AtMost);
        compare->RollEdit(0)->setText(QStringLiteral("3d6+"));
    }
    auto compare = Open({ "1d4" });
    QCOMPARE(compare->RollCount(), 2);
    QCOMPARE(compare->RollEdit(0)->text(), QStringLiteral("3d6+"));
    QCOMPARE(compare->RollEdit(1)->text(), QStringLiteral("4d6kh3"));
    QCOMPARE(compare->Target()->value(), 13);
    QCOMPARE(compare->Sense()->currentText(), QStringLiteral("exactly"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->Plot()->accessibleName(), QStringLiteral("Comparison of 4d6kh3, at most"));
}

void CompareTest::keepsLongRollsWhole_data()
{
    QTest::addColumn<QString>("roll");
    QTest::addColumn<bool>("typed");
    // Cut at 200 characters, this one was 1d6 and spaces +100000.
    const QString padded = QStringLiteral("1d6") + QString(190, QLatin1Char(' ')) + QStringLiteral("+1000000");
    QTest::newRow("201 typed") << padded << true;
    QTest::newRow("201 from the file") << padded << false;
    // The most terms a roll may have.
    QString terms = QStringLiteral("1d6");
    for (int i = 0; i < 19; ++i)
        terms += QStringLiteral(" +  4d10kh3");
    QTest::newRow("twenty terms") << terms << true;
    // Longer than a line edit holds unless told otherwise.
    QTest::newRow("40000 from the file") << QString(40'000, QLatin1Char(' ')) + QStringLiteral("3d6") << false;
}

void CompareTest::keepsLongRollsWhole()
{
    QFETCH(QString, roll);
    QFETCH(bool, typed);
    if (typed) {
        auto compare = Open({ "2d6" });
        compare->AddRoll({});
        compare->RollEdit(1)->setFocus();
        QTest::keyClicks(compare->RollEdit(1), roll);
        QCOMPARE(compare->RollEdit(1)->text(), roll);
    } else {
        QSettings settings(m_dir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("compare/rolls"), QStringList { QStringLiteral("2d6"), roll });
    }
    auto compare = Open({ "1d4" });
    QCOMPARE(compare->RollCount(), 2);
    QCOMPARE(compare->RollEdit(1)->text(), roll);
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->RollStatus(1), QString());
    QCOMPARE(TableColumn(compare->Table(), 0), QStringList({ "2d6", roll.trimmed() }));
}

void CompareTest::mnemonicsNeverTypeIntoRolls_data()
{
    QTest::addColumn<int>("rolls");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rollsAfter");
    QTest::addColumn<QString>("focus");
    const int alt = Qt::AltModifier;
    // With every row taken, Add Roll is disabled: Alt+A typed an "a".
    QTest::newRow("disabled Add Roll") << 8 << int(Qt::Key_A) << alt << "4dF" << 8 << "roll";
    QTest::newRow("enabled Add Roll") << 7 << int(Qt::Key_A) << alt << "4dF" << 8 << "new roll";
    QTest::newRow("Copy Table") << 8 << int(Qt::Key_C) << alt << "4dF" << 8 << "roll";
    QTest::newRow("the target's label") << 8 << int(Qt::Key_T) << alt << "4dF" << 8 << "target";
    QTest::newRow("no such mnemonic") << 8 << int(Qt::Key_Q) << alt << "4dF" << 8 << "roll";
    QTest::newRow("a letter") << 8 << int(Qt::Key_A) << 0 << "4dFa" << 8 << "roll";
}

void CompareTest::mnemonicsNeverTypeIntoRolls()
{
    QFETCH(int, rolls);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, rollsAfter);
    QFETCH(QString, focus);
    QStringList typed;
    for (int i = 1; i < rolls; ++i)
        typed << QStringLiteral("1d%1").arg(i + 1);
    typed << QStringLiteral("4dF");
    auto compare = Open(typed);
    QVERIFY(QTest::qWaitForWindowActive(compare.get()));
    QVERIFY(Settled(*compare));
    QLineEdit *last = compare->RollEdit(rolls - 1);
    last->setFocus();
    last->setCursorPosition(3);
    QTest::keyClick(last, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    // A mnemonic clicks its button a moment later, as a click is shown.
    QVERIFY(QTest::qWaitFor([&] { return compare->RollCount() == rollsAfter; }, 2000));
    QVERIFY(Settled(*compare));
    QCOMPARE(last->text(), text);
    QCOMPARE(compare->RollCount(), rollsAfter);
    QCOMPARE(compare->RollStatus(rolls - 1).isEmpty(), text == QStringLiteral("4dF"));
    QWidget *focused = QApplication::focusWidget();
    if (focus == "roll")
        QCOMPARE(focused, last);
    else if (focus == "new roll")
        QCOMPARE(focused, compare->RollEdit(rollsAfter - 1));
    else
        QCOMPARE(focused, compare->Target());
}

void CompareTest::tellsWhyChartIsNotSaved_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("fromChart");
    // The chart window saves through the same export.
    for (const bool chart : { false, true }) {
        const char *from = chart ? "chart: " : "compare: ";
        QTest::addRow("%ssvg", from) << "chart.svg" << true << chart;
        QTest::addRow("%spng", from) << "chart.png" << true << chart;
        QTest::addRow("%sfolder missing", from) << "missing/chart.svg" << false << chart;
        QTest::addRow("%sfile as folder", from) << "plain/chart.png" << false << chart;
        QTest::addRow("%sfolder as file", from) << "folder" << false << chart;
    }
}

void CompareTest::tellsWhyChartIsNotSaved()
{
    QFETCH(QString, path);
    QFETCH(bool, saved);
    QFETCH(bool, fromChart);
    // Apart from the settings file.
    const QDir out(m_dir->filePath(QStringLiteral("out")));
    QVERIFY(out.mkpath(QStringLiteral("folder")));
    QFile plain(out.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString full = out.filePath(path);
    windowtest::MessageWatcher watcher;
    std::unique_ptr<windowtest::FormDriver> driver;
    std::unique_ptr<window::CompareWindow> compare;
    window::ChartWindow *chart = nullptr;
    if (fromChart) {
        driver = std::make_unique<windowtest::FormDriver>();
        DRIVE(driver->Compute("2", "6", "0"));
        chart = &driver->calculator().Chart();
        QVERIFY(chart->SaveButton()->isEnabled());
        QCOMPARE(chart->SaveChartTo(full), saved);
    } else {
        compare = Open({ "2d6", "1d12" });
        QVERIFY(Settled(*compare));
        QCOMPARE(compare->SaveChartTo(full), saved);
    }
    const QList<windowtest::Message> messages = watcher.Take();
    const QStringList left = out.entryList(QDir::Files | QDir::Hidden);
    if (!saved) {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, QMessageBox::Critical);
        QVERIFY2(messages[0].text.contains(QDir::toNativeSeparators(full) + QStringLiteral(":\n")),
            qPrintable(messages[0].text));
        QVERIFY(!messages[0].text.endsWith(QStringLiteral(":\n")));
        QCOMPARE(left, QStringList({ "plain" }));
        return;
    }
    QCOMPARE(messages.size(), 0);
    // Nothing beside the picture: the temporary file was renamed into place.
    QCOMPARE(left, QStringList({ path, "plain" }));
    QFile file(full);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (path.endsWith(QStringLiteral(".svg"))) {
        QVERIFY(bytes.contains("<svg"));
        QVERIFY(bytes.contains(fromChart ? "<title>2d6, exactly</title>" : "<title>2d6, 1d12, exactly</title>"));
    } else {
        const QImage image = QImage::fromData(bytes, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(image.size() / image.devicePixelRatio(), fromChart ? chart->PictureSize() : compare->Plot()->size());
    }
}

void CompareTest::keepsOneToEightRolls()
{
    auto compare = Open({ "1d6" });
    QVERIFY(!compare->RemoveButton(0)->isEnabled());
    compare->RemoveRoll(0);
    QCOMPARE(compare->RollCount(), 1);
    for (int count = 2; count <= 9; ++count) {
        compare->AddRoll(QStringLiteral("1d%1").arg(2 * count));
        QCOMPARE(compare->RollCount(), std::min(count, 8));
        QCOMPARE(compare->AddButton()->isEnabled(), count < 8);
    }
    for (const int outside : { -1, 8 }) {
        compare->RemoveRoll(outside);
        QCOMPARE(compare->RollCount(), 8);
    }
    compare->RemoveRoll(7);
    QCOMPARE(compare->RollCount(), 7);
    QVERIFY(compare->AddButton()->isEnabled());
    QCOMPARE(compare->RollEdit(6)->text(), QStringLiteral("1d14"));
}

void CompareTest::cursorLeavesWithItsTotal()
{
    auto compare = Open({ "1d4", "1d6+100" });
    QVERIFY(Settled(*compare));
    QTest::keyClick(compare->Plot(), Qt::Key_End);
    QCOMPARE(compare->Plot()->Cursor().value_or(0), std::int64_t { 106 });
    // Still thrown by the new roll: the cursor stays; no longer: it goes.
    compare->RollEdit(1)->setText(QStringLiteral("2d6+94"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->Plot()->Cursor().value_or(0), std::int64_t { 106 });
    QCOMPARE(TableColumn(compare->Table(), 6), QStringList({ "P(106) = 0.000000000%", "P(106) = 2.777777778%" }));
    compare->RollEdit(1)->setText(QStringLiteral("1d6+99"));
    QVERIFY(Settled(*compare));
    QVERIFY(!compare->Plot()->Cursor());
    QCOMPARE(TableColumn(compare->Table(), 6), QStringList({ "", "" }));
}

void CompareTest::copiesNothingWithoutAValidRoll()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    auto compare = Open({ "1d6x", "3d" });
    QVERIFY(Settled(*compare));
    const auto button = [&](const char *text) {
        for (const QPushButton *found : compare->findChildren<QPushButton *>()) {
            if (found->text() == QLatin1String(text))
                return found->isEnabled();
        }
        return false;
    };
    QVERIFY(!button("&Copy Table") && !button("&Save Chart..."));
    compare->CopyTable();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    compare->RollEdit(0)->setText(QStringLiteral("1d6"));
    QVERIFY(Settled(*compare));
    QVERIFY(button("&Copy Table") && button("&Save Chart..."));
    compare->CopyTable();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("total\toutcomes\tpercent\n1\t1\t")));
}

void CompareTest::namesExactTies_data()
{
    QTest::addColumn<QString>("dice");
    QTest::addColumn<QString>("sides");
    QTest::addColumn<QString>("most");
    // n dice of s sides are symmetric about n(s + 1)/2: an odd n(s + 1)
    // splits the peak between the two totals beside it.
    QTest::newRow("15d20") << "15"
                           << "20"
                           << "Most likely totals: 157 and 158,";
    QTest::newRow("17d20") << "17"
                           << "20"
                           << "Most likely totals: 178 and 179,";
    QTest::newRow("13d30") << "13"
                           << "30"
                           << "Most likely totals: 201 and 202,";
    QTest::newRow("17d30") << "17"
                           << "30"
                           << "Most likely totals: 263 and 264,";
    QTest::newRow("19d30") << "19"
                           << "30"
                           << "Most likely totals: 294 and 295,";
    QTest::newRow("2d6") << "2"
                         << "6"
                         << "Most likely total: 7,";
    QTest::newRow("20d30") << "20"
                           << "30"
                           << "Most likely total: 310,";
}

void CompareTest::namesExactTies()
{
    QFETCH(QString, dice);
    QFETCH(QString, sides);
    QFETCH(QString, most);
    windowtest::FormDriver driver;
    driver.Compute(dice, sides, QStringLiteral("0"));
    QVERIFY(!QTest::currentTestFailed());
    const QString summary = driver.calculator().Chart().Plot()->accessibleDescription();
    QVERIFY2(summary.contains(most), qPrintable(summary));
}

namespace
{

// The moves of a PbtA game: 10 of 36 throws of 2d6+1 reach 10, 16 more reach 7.
const QString kMoves =
    QStringLiteral(R"(let t = 2d6+1 in if t >= 10 then "strong hit" else if t >= 7 then "weak hit" else "miss")");

// What a screen reader reads in a cell of a table.
QString AccessibleCell(QTableWidget *table, int row, int column)
{
    QAccessibleInterface *cell = QAccessible::queryAccessibleInterface(table)->tableInterface()->cellAt(row, column);
    return cell ? cell->text(QAccessible::Name) : QString();
}

} // namespace

void CompareTest::showsLabelsBesideTotals()
{
    auto compare = Open({ "2d20kh1", kMoves, "1d20+5" });
    QVERIFY(Settled(*compare));
    QTableWidget *table = compare->Table();
    QCOMPARE(TableColumn(table, 0), QStringList({ "2d20kh1", kMoves, "1d20+5" }));
    QCOMPARE(TableColumn(table, 1)[2], QStringLiteral("6"));
    // The labels stand across the figures, none of which a label has.
    QCOMPARE(table->columnSpan(1, 1), table->columnCount() - 1);
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("strong hit 27.78%, weak hit 44.44%, miss 27.78%"));
    const QString exact =
        QStringLiteral("Labels: strong hit 27.777777778%, weak hit 44.444444444%, miss 27.777777778%");
    QCOMPARE(table->item(1, 1)->toolTip(), exact);
    QCOMPARE(AccessibleCell(table, 1, 1), exact);
    // The axis, the cursor and the target are the totals rolls'.
    QCOMPARE(compare->Shown().Lowest(), 1);
    QCOMPARE(compare->Shown().Highest(), 25);
    const QString summary = compare->Plot()->accessibleDescription();
    QVERIFY2(summary.contains(QStringLiteral("Likeliest to throw at least 15: 1d20+5, 55.000000000%.")),
        qPrintable(summary));
    QVERIFY2(
        summary.endsWith(kMoves
            + QStringLiteral(" gives labels: strong hit 27.777777778%, weak hit 44.444444444%, miss 27.777777778%.")),
        qPrintable(summary));
    QTest::keyClick(compare->Plot(), Qt::Key_End);
    QCOMPARE(
        compare->Plot()->CursorText(), QStringLiteral("2d20kh1: P(25) = 0.000000000%; 1d20+5: P(25) = 5.000000000%"));
    QVERIFY(table->item(0, 6) && !table->item(0, 6)->text().isEmpty());
}

void CompareTest::headToHeadLeavesLabelsOut()
{
    // Two rows leave the tables no line to spare: the note takes the line of
    // the roll it names.
    auto compare = Open({ kMoves, "2d20kh1" });
    QVERIFY(Settled(*compare));
    QTableWidget *versus = compare->HeadToHeadTable();
    QLabel *note = compare->LeftOutOfHeadToHead();
    QCOMPARE(TableColumn(versus, 0), QStringList({ "2d20kh1" }));
    QCOMPARE(versus->verticalHeaderItem(0)->text(), QStringLiteral("2"));
    QCOMPARE(note->text(), QStringLiteral("Left out of head to head: roll 1, whose results are labels."));
    QVERIFY(!note->isVisible());
    compare->Tabs()->setCurrentIndex(1);
    QVERIFY(note->isVisible());
    QApplication::processEvents();
    // Whole, and under the table rather than over its last line.
    QVERIFY(note->height() >= note->sizeHint().height());
    QVERIFY(note->y() > versus->geometry().bottom());
    const int plotAt = compare->Plot()->y();

    compare->RollEdit(1)->setText(kMoves);
    QVERIFY(Settled(*compare));
    QCOMPARE(note->text(), QStringLiteral("Left out of head to head: rolls 1 and 2, whose results are labels."));
    QCOMPARE(versus->rowCount(), 0);
    compare->RollEdit(0)->setText(QStringLiteral("3d6"));
    compare->RollEdit(1)->setText(QStringLiteral("1d6"));
    QVERIFY(Settled(*compare));
    QVERIFY(note->isHidden());
    QCOMPARE(versus->rowCount(), 2);
    // The note took no room of its own.
    QApplication::processEvents();
    QCOMPARE(compare->Plot()->y(), plotAt);
}

void CompareTest::copiesLabelsAfterTotals_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<QByteArray>("copied");
    const QByteArray labels = "label,outcomes,percent\n"
                              "strong hit,10,27.777777777777778\n"
                              "weak hit,16,44.444444444444444\n"
                              "miss,10,27.777777777777778\n";
    QTest::newRow("labels alone") << QStringList { kMoves } << labels;
    // The totals, then the labels, then how the totals rolls fare.
    QTest::newRow("among totals") << QStringList { "1d4", kMoves }
                                  << "total,outcomes,percent\n"
                                     "1,1,25.000000000000000\n"
                                     "2,1,25.000000000000000\n"
                                     "3,1,25.000000000000000\n"
                                     "4,1,25.000000000000000\n"
                                     "\n"
            + labels
            + "\n"
              "beats,1d4\n"
              "1d4,37.500000000000000\n";
}

void CompareTest::copiesLabelsAfterTotals()
{
    QFETCH(QStringList, rolls);
    QFETCH(QByteArray, copied);
    auto compare = Open(rolls);
    QVERIFY(Settled(*compare));
    QGuiApplication::clipboard()->clear();
    compare->CopyButton()->click();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->data(QStringLiteral("text/csv")), QByteArray(copied).replace("\n", "\r\n"));
    QCOMPARE(data->text(), QString::fromUtf8(QByteArray(copied).replace(',', '\t')));
    // The command line writes labels and totals in runs of their own.
    if (rolls.size() == 1)
        QCOMPARE(CommandLineCsv(rolls), copied);
}

QTEST_MAIN(CompareTest)
#include "window_compare_test.moc"
