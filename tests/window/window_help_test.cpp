// Help with the notation in the windows: an error marked in its roll box,
// counted in the characters the user sees whatever UTF-8 and UTF-16 make of
// them; the help dialog held to the README's tables, its examples going into
// the box the user was in; and the roll boxes' tooltip.
#include "tests/window/form_driver.h"

#include "dice/dice.h"
#include "window/compare.h"
#include "window/error_mark.h"
#include "window/menus.h"
#include "window/notation_forms.h"
#include "window/notation_help.h"
#include "window/startup.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

Q_DECLARE_METATYPE(window::ErrorSpan)

class HelpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void marksTheErrorInItsBox_data();
    void marksTheErrorInItsBox();
    void typingPastAMarkKeepsEveryKey();
    void formsFollowTheReadme();
    void examplesGoIntoTheFocusedBox();
    void calculatorsHelpFillsCompareRolls();
    void tooltipExamplesRead();

private:
    std::unique_ptr<window::CompareWindow> Open(const QStringList &rolls);
    QTemporaryDir m_dir;
    int m_opened = 0;
};

namespace
{

bool Settled(const window::CompareWindow &compare)
{
    return QTest::qWaitFor([&] { return !compare.Computing(); }, 60'000);
}

// The first and last column where two pictures of a box differ, or (-1, -1).
std::pair<int, int> Differing(const QImage &one, const QImage &other)
{
    std::pair<int, int> columns { -1, -1 };
    for (int x = 0; x < one.width(); ++x) {
        for (int y = 0; y < one.height(); ++y) {
            if (one.pixel(x, y) != other.pixel(x, y)) {
                columns = { columns.first < 0 ? x : columns.first, x };
                break;
            }
        }
    }
    return columns;
}

int CaretX(QLineEdit &box, int position)
{
    box.setCursorPosition(position);
    return box.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// The code spans of a cell of a Markdown table.
QStringList Spans(const QString &cell)
{
    QStringList spans;
    for (const QRegularExpressionMatch &span : QRegularExpression(QStringLiteral("`([^`]+)`")).globalMatch(cell))
        spans << span.captured(1);
    return spans;
}

} // namespace

void HelpTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pipwright/pipwright.ini"));
}

std::unique_ptr<window::CompareWindow> HelpTest::Open(const QStringList &rolls)
{
    // Settings of its own, so that no roll is remembered from another test.
    auto compare = windowtest::OpenCompare(rolls, m_dir.filePath(QStringLiteral("%1.ini").arg(++m_opened)));
    compare->activateWindow();
    [&] { QVERIFY(QTest::qWaitForWindowActive(compare.get())); }();
    return compare;
}

void HelpTest::marksTheErrorInItsBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<window::ErrorSpan>("marked");
    QTest::addColumn<int>("character");
    QTest::addColumn<QString>("mended");
    QTest::newRow("a word") << QStringLiteral("{1d6, 1d8}kh1 foo") << window::ErrorSpan { 14, 3 } << 15
                            << QStringLiteral("{1d6, 1d8}kh1 + 5");
    // Two letters of two bytes before the error.
    QTest::newRow("umlauts") << QStringLiteral("if 1d6 = 6 then \"Größe\" else \"Weg\" x")
                             << window::ErrorSpan { 35, 1 } << 36
                             << QStringLiteral("if 1d6 = 6 then \"Größe\" else \"Weg\"   ");
    // One character of four bytes and two UTF-16 units.
    QTest::newRow("emoji") << QStringLiteral("if 1d6 = 6 then \"\U0001F600\" else \"x\" ]")
                           << window::ErrorSpan { 30, 1 } << 30
                           << QStringLiteral("if 1d6 = 6 then \"\U0001F600\" else \"x\"   ");
    QTest::newRow("the end") << QStringLiteral("4d6kh3 +") << window::ErrorSpan { 8, 0 } << 9
                             << QStringLiteral("4d6kh3 + 1");
}

void HelpTest::marksTheErrorInItsBox()
{
    QFETCH(QString, typed);
    QFETCH(window::ErrorSpan, marked);
    QFETCH(int, character);
    QFETCH(QString, mended);
    auto compare = Open({ "3d6" });
    QLineEdit *box = compare->RollEdit(0);
    compare->Target()->setFocus();
    box->setText(typed);
    QVERIFY(Settled(*compare));
    QCOMPARE(window::MarkedError(*box), marked);
    QVERIFY2(compare->RollStatus(0).startsWith(QStringLiteral("At character %1: ").arg(character)),
        qPrintable(compare->RollStatus(0)));
    QCOMPARE(box->accessibleDescription(), compare->RollStatus(0));

    // Painted over its characters and nowhere else.
    const QImage shown = box->grab().toImage();
    window::MarkError(*box, std::nullopt);
    const QImage plain = box->grab().toImage();
    const auto [first, last] = Differing(shown, plain);
    if (marked.length > 0) {
        const int from = CaretX(*box, marked.start);
        const int to = CaretX(*box, marked.start + marked.length);
        QVERIFY2(first >= from - 3 && last <= to + 3 && last - first >= (to - from) / 2,
            qPrintable(QStringLiteral("%1..%2 for %3..%4").arg(first).arg(last).arg(from).arg(to)));
    } else {
        QCOMPARE(first, -1);
    }
    window::MarkError(*box, marked);

    // Tabbed into, the box puts its caret at the error instead of selecting all.
    box->setCursorPosition(0);
    box->setFocus(Qt::TabFocusReason);
    QCOMPARE(box->cursorPosition(), marked.start);
    QVERIFY(!box->hasSelectedText());

    // Mended, with characters still where the mark was, it shows none.
    compare->Target()->setFocus();
    box->setText(mended);
    QVERIFY(Settled(*compare));
    QCOMPARE(window::MarkedError(*box), std::nullopt);
    QCOMPARE(box->accessibleDescription(), QString());
    const QImage after = box->grab().toImage();
    window::MarkError(*box, std::nullopt);
    QCOMPARE(Differing(after, box->grab().toImage()).first, -1);
}

void HelpTest::typingPastAMarkKeepsEveryKey()
{
    // Each key marks or clears an error on the way; none is lost or moved.
    auto compare = Open({ "3d6" });
    QLineEdit *box = compare->RollEdit(0);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2d6 +x 1"));
    QCOMPARE(box->text(), QStringLiteral("2d6 +x 1"));
    QCOMPARE(box->cursorPosition(), 8);
    QCOMPARE(window::MarkedError(*box), (window::ErrorSpan { 5, 1 }));
    box->setCursorPosition(6);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("2d6 + 1"));
    QCOMPARE(window::MarkedError(*box), std::nullopt);
    QCOMPARE(compare->RollStatus(0), QString());
}

void HelpTest::formsFollowTheReadme()
{
    QFile readme(QStringLiteral(PIPWRIGHT_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype from = text.indexOf(QStringLiteral("\n## Dice notation"));
    const QString notation = text.mid(from, text.indexOf(QStringLiteral("\n## "), from + 1) - from);
    std::map<QString, QStringList> readmeForms;
    bool inTable = false;
    for (const QString &line : notation.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("| form | meaning | example |")))
            inTable = true;
        else if (!line.startsWith(QLatin1Char('|')))
            inTable = false;
        else if (inTable && !line.startsWith(QStringLiteral("|---"))) {
            // A cell may hold '|' only inside a code span, which this table's forms do not.
            const QStringList cells = line.split(QStringLiteral(" | "));
            QCOMPARE(cells.size(), 3);
            readmeForms[Spans(cells[0]).join(QStringLiteral(", "))] = Spans(cells[2]);
        }
    }
    QCOMPARE(readmeForms.size(), 30u);
    QCOMPARE(window::NotationForms().size(), readmeForms.size());
    for (const window::NotationForm &form : window::NotationForms()) {
        const auto found = readmeForms.find(QString::fromUtf8(form.form));
        QVERIFY2(found != readmeForms.end(), form.form);
        QVERIFY2(found->second.contains(QString::fromUtf8(form.example)), form.example);
        try {
            dice::Parse(form.example);
        } catch (const dice::ParseError &error) {
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(form.example, error.what())));
        }
        readmeForms.erase(found);
    }
}

void HelpTest::examplesGoIntoTheFocusedBox()
{
    auto compare = Open({ "3d6", "2d6" });
    QLineEdit *box = compare->RollEdit(1);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
    auto *help = dynamic_cast<window::NotationHelp *>(compare->findChild<QDialog *>());
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->focusWidget(), help->Search());
    QTableWidget *forms = help->Forms();
    const auto shown = [forms] {
        QStringList lines;
        for (int line = 0; line < forms->rowCount(); ++line) {
            if (!forms->isRowHidden(line))
                lines << forms->item(line, 0)->text();
        }
        return lines;
    };

    QTest::keyClicks(help->Search(), QStringLiteral("PENETRATE"));
    QCOMPARE(shown(), QStringList { "!p, !!p" });
    QTest::keyClick(help->Search(), Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("1d6!p"));
    QCOMPARE(compare->RollEdit(0)->text(), QStringLiteral("3d6"));
    QCOMPARE(help->Note(), QStringLiteral("Roll 2 now reads 1d6!p"));
    QVERIFY(help->isVisible());

    help->Search()->clear();
    QTest::keyClicks(help->Search(), QStringLiteral("fudge dice"));
    QCOMPARE(shown(), QStringList({ "NdF", "NdF.1" }));
    // Down from the search box, a line further; Enter takes its example.
    QTest::keyClick(help->Search(), Qt::Key_Down);
    QTest::keyClick(help->Search(), Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("4dF.1"));
    QTest::keyClicks(help->Search(), QStringLiteral("zzz"));
    QCOMPARE(shown(), QStringList());

    // A click on an example, and the box's Undo brings back what it held.
    help->Search()->clear();
    QTableWidgetItem *percent = forms->findItems(QStringLiteral("1d%"), Qt::MatchExactly).value(0);
    QVERIFY(percent);
    QTest::mouseClick(forms->viewport(), Qt::LeftButton, {}, forms->visualItemRect(percent).center());
    QCOMPARE(box->text(), QStringLiteral("1d%"));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->RollStatus(1), QString());
    box->undo();
    QCOMPARE(box->text(), QStringLiteral("4dF.1"));
}

void HelpTest::calculatorsHelpFillsCompareRolls()
{
    // The calculator has no box for the notation: its examples go to a new
    // row of Compare Rolls, which opens for them.
    windowtest::FormDriver driver;
    window::Calculator &calculator = driver.calculator();
    calculator.Menus().NotationHelp()->trigger();
    QVERIFY(!calculator.Compare());
    auto *help = dynamic_cast<window::NotationHelp *>(calculator.Form().Window()->findChild<QDialog *>());
    QVERIFY(help && help->isVisible());
    help->Use(2);
    QVERIFY(calculator.Compare() && calculator.Compare()->isVisible());
    QCOMPARE(calculator.Compare()->RollCount(), 2);
    QCOMPARE(calculator.Compare()->RollEdit(0)->text(), QStringLiteral("2d20kh1"));
    QCOMPARE(calculator.Compare()->RollEdit(1)->text(), QStringLiteral("4dF"));
    QVERIFY(calculator.Menus().CompareItem()->isChecked());
}

void HelpTest::tooltipExamplesRead()
{
    auto compare = Open({ "3d6" });
    compare->AddRoll({});
    const QString tip = compare->RollEdit(1)->toolTip();
    QCOMPARE(tip, compare->RollEdit(0)->toolTip());
    QStringList examples;
    for (const QString &line : tip.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1Char(':')))
            examples << line.section(QLatin1Char(':'), 0, 0);
    }
    QCOMPARE(examples.size(), 3);
    for (const QString &example : examples) {
        compare->RollEdit(1)->setText(example);
        QVERIFY(Settled(*compare));
        QVERIFY2(compare->RollStatus(1).isEmpty(), qPrintable(example + compare->RollStatus(1)));
    }
}

QTEST_MAIN(HelpTest)
#include "window_help_test.moc"
