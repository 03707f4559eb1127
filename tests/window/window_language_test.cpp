// The windows in the language the program is started in. Run as
// `window_language_test de` with LANGUAGE=de, or `window_language_test en` in
// the C locale (CTest runs both, and a few other settings). Each test builds
// the calculator twice, with the translations the start-up installed and with
// none, and compares what the two show: in German every text that holds words
// differs from the English one and the numbers are the same; in English
// nothing differs at all. A few German texts are checked word for word, so a
// translation put in the wrong place is caught too.
#include "tests/window/form_driver.h"

#include "dice/dice.h"
#include "dice/limits.h"
#include "window/chart.h"
#include "window/compare.h"
#include "window/language.h"
#include "window/menus.h"
#include "window/notation_help.h"
#include "window/parse_errors.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using windowtest::FormDriver;
using windowtest::Message;

namespace
{

// The language the test program was started to expect, "de" or "en", and the
// one the start-up installed.
QString g_expected;
QString g_installed;

bool German()
{
    return g_expected == QLatin1String("de");
}

// Every text a person reads in a window, in a fixed order: titles, captions,
// menu entries, accessible names and descriptions, tooltips.
QStringList TextsOf(QWidget *top)
{
    QStringList texts { top->windowTitle() };
    QList<QWidget *> widgets { top };
    widgets += top->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        if (auto *menu = qobject_cast<QMenu *>(widget))
            texts << menu->title();
        if (auto *list = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        }
        if (auto *table = qobject_cast<QTableWidget *>(widget)) {
            for (int i = 0; i < table->columnCount(); ++i)
                texts << table->horizontalHeaderItem(i)->text();
        }
        texts << widget->accessibleName() << widget->accessibleDescription() << widget->toolTip();
    }
    for (QAction *action : top->findChildren<QAction *>())
        texts << action->text();
    texts.removeAll(QString());
    return texts;
}

// What the same steps show with the translations installed and with none.
struct Both {
    QStringList translated, english;
};

Both InBothLanguages(const std::function<QStringList(FormDriver &)> &steps)
{
    const QList<QTranslator *> translators = qApp->findChildren<QTranslator *>();
    Both both;
    {
        FormDriver driver;
        both.translated = steps(driver);
    }
    for (QTranslator *translator : translators)
        QCoreApplication::removeTranslator(translator);
    {
        FormDriver driver;
        both.english = steps(driver);
    }
    for (QTranslator *translator : translators)
        QCoreApplication::installTranslator(translator);
    return both;
}

// Texts a translation keeps: the program's name and texts of numbers and
// rolls alone, the probability table among them.
bool LanguageFree(const QString &text)
{
    static const QRegularExpression numbersAndRolls(QStringLiteral("^[-+0-9.,%:=<>()P d\\s]*$"));
    return text == QLatin1String("Pipwright") || numbersAndRolls.match(text).hasMatch();
}

void VerifyLanguage(const Both &both)
{
    QCOMPARE(both.translated.size(), both.english.size());
    for (qsizetype i = 0; i < both.english.size(); ++i) {
        const QString &english = both.english.at(i);
        const QString &shown = both.translated.at(i);
        if (!German() || LanguageFree(english))
            QCOMPARE(shown, english);
        else
            QVERIFY2(shown != english, qPrintable(QStringLiteral("not translated: ") + english));
    }
}

QString Expect(const char *english, const char *german)
{
    return QString::fromUtf8(German() ? german : english);
}

QStringList AsTexts(const Message &message)
{
    return { message.title, message.text };
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installsTheExpectedLanguage();
    void windowsAndMenus();
    void messages_data();
    void messages();
    void about();
    void compareWindow();
    void notationHelp();
    void parseErrors_data();
    void parseErrors();
};

void LanguageTest::installsTheExpectedLanguage()
{
    QCOMPARE(g_installed, German() ? QStringLiteral("de") : QString());
    const QList<QTranslator *> translators = qApp->findChildren<QTranslator *>();
    QCOMPARE(translators.isEmpty(), !German());
    if (German())
        QVERIFY(std::any_of(translators.begin(), translators.end(), [](QTranslator *t) {
            return t->language() == QLatin1String("de");
        }));
}

void LanguageTest::windowsAndMenus()
{
    QStringList german;
    const Both both = InBothLanguages([&](FormDriver &driver) {
        window::ChartWindow *chart = driver.calculator().Menus().Chart();
        // The chart's title before and after the first roll.
        QStringList texts = TextsOf(chart);
        driver.Compute(QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("1"));
        driver.calculator().Menus().ChartItem()->trigger();
        texts += TextsOf(driver.form().Window());
        texts << QString::fromStdString(driver.form().Text2.Text());
        texts += TextsOf(chart);
        if (german.isEmpty()) {
            const window::frmMain &form = driver.form();
            german << form.Label1.Widget()->text() << form.Action[0].Widget()->text()
                   << QString::fromStdString(form.Label8.Caption()) << QString::fromStdString(form.lblAvg.Caption())
                   << QString::fromStdString(form.lblBetween.Caption());
            for (QAction *menu : driver.calculator().Menus().Bar()->actions())
                german << menu->text();
            german << driver.calculator().Menus().CompareItem()->text();
        }
        return texts;
    });
    VerifyLanguage(both);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(german,
        QStringList({ Expect("Number of Dice", "Anzahl Würfel"),
            Expect("Compute", "Berechnen"),
            Expect("Probability roll is between 3 and 13.", "Chance auf einen Wurf von 3 bis 13."),
            QStringLiteral("8.0"),
            QStringLiteral("100.0%"),
            Expect("&Edit", "&Bearbeiten"),
            Expect("&View", "&Ansicht"),
            Expect("&Help", "&Hilfe"),
            Expect("Compare &Rolls", "Würfe &vergleichen") }));
}

void LanguageTest::messages_data()
{
    QTest::addColumn<QString>("dice");
    QTest::addColumn<QString>("sides");
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prompt");

    QTest::newRow("dice not numeric") << "x"
                                      << "6"
                                      << "0" << Expect("Non-numeric Number of Dice!", "Anzahl Würfel ist keine Zahl!")
                                      << Expect("Please enter a numeric value.", "Bitte geben Sie eine Zahl ein.");
    QTest::newRow("modifier not numeric") << "2"
                                          << "6"
                                          << "x" << Expect("Non-numeric Roll Modifier!", "Modifikator ist keine Zahl!")
                                          << Expect("Please enter a numeric value.", "Bitte geben Sie eine Zahl ein.");
    QTest::newRow("dice out of range") << "21"
                                       << "6"
                                       << "0"
                                       << Expect("Number of Dice Too High!", "Anzahl Würfel außerhalb des Bereichs!")
                                       << Expect("Please enter a different value. (1-20)",
                                              "Bitte geben Sie einen anderen Wert ein. (1–20)");
    QTest::newRow("modifier out of range")
        << "2"
        << "6"
        << "40000" << Expect("Modifier value to big or too small", "Modifikator zu groß oder zu klein")
        << Expect("Please enter a smaller value. (-32,768 to 32,767)",
               "Bitte geben Sie einen kleineren Wert ein. (-32768 bis 32767)");
    QTest::newRow("d100 limit") << "11"
                                << "100"
                                << "0" << Expect("D100 Roll Limit!", "Grenze für W100-Würfe!")
                                << Expect("Number of dice is limited to 10 for 100-sided rolls.\n"
                                          "Please enter another a smaller value.",
                                       "Mit 100-seitigen Würfeln sind höchstens 10 Würfel möglich.\n"
                                       "Bitte geben Sie einen kleineren Wert ein.");
}

void LanguageTest::messages()
{
    QFETCH(QString, dice);
    QFETCH(QString, sides);
    QFETCH(QString, modifier);
    QFETCH(QString, title);
    QFETCH(QString, prompt);
    Message shown;
    const Both both = InBothLanguages([&](FormDriver &driver) {
        const Message message = driver.ComputeRejected(dice, sides, modifier);
        if (shown.title.isEmpty())
            shown = message;
        return AsTexts(message);
    });
    VerifyLanguage(both);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.text, prompt);
    QCOMPARE(shown.icon, QMessageBox::Critical);
}

void LanguageTest::about()
{
    QString text;
    const Both both = InBothLanguages([&](FormDriver &driver) {
        driver.calculator().Menus().About()->trigger();
        const QList<Message> messages = driver.watcher().Take();
        if (text.isEmpty())
            text = messages.value(0).text;
        return AsTexts(messages.value(0));
    });
    VerifyLanguage(both);
    QCOMPARE(both.translated.value(0), Expect("About Pipwright", "Über Pipwright"));
    // The version and the address stay as they are.
    for (const QString &part : { QStringLiteral("<h3>Pipwright 1.00</h3>"),
             Expect("Computes the odds of various dice tosses.",
                 "Berechnet die Wahrscheinlichkeiten verschiedener Würfelwürfe."),
             QStringLiteral("https://github.com/pipwright/pipwright") })
        QVERIFY2(text.contains(part), qPrintable(part));
}

void LanguageTest::compareWindow()
{
    // A settings file for each window, so that the second opens as the first.
    QTemporaryDir settings;
    int opened = 0;
    QString status;
    const Both both = InBothLanguages([&](FormDriver &) {
        const QString file = settings.filePath(QStringLiteral("%1.ini").arg(++opened));
        window::CompareWindow compare(nullptr, QStringLiteral("2d20kh1"), file);
        compare.AddRoll(QStringLiteral("1d20+5"));
        compare.AddRoll(QStringLiteral("2d20kh3"));
        compare.SetView(compare::View::AtMost);
        compare.show();
        [&] { QVERIFY(QTest::qWaitFor([&compare] { return !compare.Computing(); })); }();
        if (status.isEmpty())
            status = compare.RollStatus(2);
        return TextsOf(&compare);
    });
    VerifyLanguage(both);
    QCOMPARE(status,
        Expect("At character 7: cannot keep 3 of 2 dice", "Bei Zeichen 7: von 2 Würfeln lassen sich nicht 3 behalten"));
    // The settings the translated window wrote name the views as every
    // language reads them.
    const QSettings written(settings.filePath(QStringLiteral("1.ini")), QSettings::IniFormat);
    QCOMPARE(written.value(QStringLiteral("compare/sense")).toString(), QStringLiteral("at least"));
    QCOMPARE(written.value(QStringLiteral("compare/view")).toString(), QStringLiteral("at most"));
}

void LanguageTest::notationHelp()
{
    // The meanings are translated; the forms and examples are the notation's own.
    QStringList notation;
    const Both both = InBothLanguages([&](FormDriver &) {
        window::NotationHelp help(nullptr);
        QStringList texts = TextsOf(&help);
        QStringList written;
        for (int line = 0; line < help.Forms()->rowCount(); ++line) {
            texts << help.Forms()->item(line, 1)->text();
            written << help.Forms()->item(line, 0)->text() << help.Forms()->item(line, 2)->text();
        }
        if (!notation.isEmpty())
            [&] { QCOMPARE(written, notation); }();
        notation = written;
        return texts;
    });
    VerifyLanguage(both);
    QCOMPARE(notation.size(), 60);
}

void LanguageTest::parseErrors_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("code");
    std::string terms = "1";
    for (int i = 2; i <= 21; ++i) {
        terms += '+';
        terms += std::to_string(i);
    }
    std::string faces = "d{1";
    for (int i = 0; i < dice::maxFaces; ++i)
        faces += ",1";
    faces += '}';
    const std::pair<const char *, dice::ErrorCode> cases[] = {
        { "  ", dice::ErrorCode::Empty },
        { "1d6+\xff", dice::ErrorCode::NotUtf8 },
        { "3\xc3\x97"
          "1d6",
            dice::ErrorCode::NotAscii },
        { "1d6\xe2\x88\x92"
          "2",
            dice::ErrorCode::NotAscii },
        { "1d6\xc2\xa0+2", dice::ErrorCode::NotAscii },
        { "1d6 + \xc3\xa9", dice::ErrorCode::NotAscii },
        { "1d6+", dice::ErrorCode::ExpectedTerm },
        { "++1", dice::ErrorCode::ExpectedTerm },
        { "1d6+2Q", dice::ErrorCode::ExpectedOperator },
        { "1d6\n", dice::ErrorCode::ExpectedOperator },
        { "1d6x2", dice::ErrorCode::NotAnOperator },
        { "2d20adv", dice::ErrorCode::NotAModifier },
        { "4d6zz", dice::ErrorCode::NotAModifier },
        { "1d", dice::ErrorCode::ExpectedSides },
        { "1dh", dice::ErrorCode::ExpectedSides },
        { "4d6k", dice::ErrorCode::ExpectedKeep },
        { "4d6k+1", dice::ErrorCode::ExpectedKeep },
        { "4d6dl", dice::ErrorCode::ExpectedDrop },
        { "4d6dl-1", dice::ErrorCode::ExpectedDrop },
        { "1000001", dice::ErrorCode::NumberTooLarge },
        { "101d6", dice::ErrorCode::DiceOutOfRange },
        { "1d1001", dice::ErrorCode::SidesOutOfRange },
        { "4d101kh3", dice::ErrorCode::PickSidesTooMany },
        { "2d20kh3", dice::ErrorCode::CannotKeep },
        { "1d6kh2", dice::ErrorCode::CannotKeep },
        { "1d6d1", dice::ErrorCode::CannotDrop },
        { "3d6dh3", dice::ErrorCode::CannotDrop },
        { terms.c_str(), dice::ErrorCode::TooManyTerms },
        { "60d6+41d6", dice::ErrorCode::TooManyDice },
        { "d{}", dice::ErrorCode::NoFaces },
        { "d{", dice::ErrorCode::ExpectedFace },
        { "d{1,}", dice::ErrorCode::ExpectedFace },
        { "d{1,2", dice::ErrorCode::FacesUnclosed },
        { "d{1;2}", dice::ErrorCode::FacesUnclosed },
        { faces.c_str(), dice::ErrorCode::TooManyFaces },
        { "2d6>=", dice::ErrorCode::ExpectedComparison },
        { "2d6>=x", dice::ErrorCode::ExpectedComparison },
        { "1d6!!!", dice::ErrorCode::Twice },
        { "2d6f1", dice::ErrorCode::FailureFirst },
        { "1d6!>=1", dice::ErrorCode::ExplodesForever },
        { "1d6r<7", dice::ErrorCode::RerollsForever },
        { "1d101!", dice::ErrorCode::ExplodeSidesTooMany },
        { "d{-1,1,2}!<=1", dice::ErrorCode::ExplosionFalls },
        { "4d6!kh3", dice::ErrorCode::KeepOfExplosions },
        { "10-1d6!", dice::ErrorCode::UnboundedSubtracted },
        { "2d6!!=6>=200", dice::ErrorCode::ComparePastListing },
        { "3d{-1000000,1000000}", dice::ErrorCode::SpanTooLarge },
        { "1d6/2", dice::ErrorCode::Division },
        { "2**3", dice::ErrorCode::NotAPower },
        { "(1d6", dice::ErrorCode::ExpectedSymbol },
        { "(1d6]", dice::ErrorCode::ExpectedSymbol },
        { "sqrt(4)", dice::ErrorCode::NotAFunction },
        { "max(1d6)", dice::ErrorCode::ArgumentCount },
        { "abs(1d6,2)", dice::ErrorCode::ArgumentCount },
        { "floor(1d6+2/2)", dice::ErrorCode::ExpectedDivision },
        { "floor(1d6/(1d2-1))", dice::ErrorCode::DivisorReachesZero },
        { "{1d6}", dice::ErrorCode::GroupSize },
        { "((((((((((1))))))))))", dice::ErrorCode::TooDeep },
        { "{1d6,1d8}kh3", dice::ErrorCode::CannotKeepMembers },
        { "{1d6,1d8}dl2", dice::ErrorCode::CannotDropMembers },
        { "{1d6,1d8}kh1>=3", dice::ErrorCode::KeepAndCount },
        { "{1d6,2d1000,1d2}kh2", dice::ErrorCode::KeptSpanTooLarge },
        { "2*1d6!", dice::ErrorCode::UnboundedOperand },
        { "1000000*1000000*1000000", dice::ErrorCode::TotalTooLarge },
        { "{1d6!, 1}>=20000", dice::ErrorCode::ListedTooFar },
        { "{4d6kh3, 4d6kh3}r<8", dice::ErrorCode::NotAGroupModifier },
        { "4d6dh1kh1", dice::ErrorCode::SecondPick },
        { "1d3d6", dice::ErrorCode::DieAfterSides },
        { "2d20kh1 + 5 >= 15", dice::ErrorCode::ComparedTotal },
        { "(2d6) <> 7", dice::ErrorCode::ComparedTotal },
        { "d20 > d20", dice::ErrorCode::Versus },
        { "(d20 vs d20)", dice::ErrorCode::Versus },
        { "1d20,1d20", dice::ErrorCode::CommaOutsideGroup },
        { "1d6,(", dice::ErrorCode::CommaOutsideGroup },
    };
    for (const auto &[typed, code] : cases)
        QTest::newRow(typed) << QByteArray(typed) << static_cast<int>(code);
}

// Every code the parser reports, in English as the command line words it, in
// German with the same numbers and characters.
void LanguageTest::parseErrors()
{
    QFETCH(QByteArray, typed);
    QFETCH(int, code);
    try {
        dice::Parse(typed.toStdString());
        QFAIL("parsed");
    } catch (const dice::ParseError &error) {
        QCOMPARE(static_cast<int>(error.Code()), code);
        const QString shown = window::ParseErrors::Message(error);
        const QString english = QString::fromStdString(dice::ErrorMessage(error));
        // Where the command line names its options, the window names its
        // own controls, in either language.
        const auto own = {
            dice::ErrorCode::ComparedTotal, dice::ErrorCode::Versus, dice::ErrorCode::CommaOutsideGroup
        };
        if (std::find(own.begin(), own.end(), error.Code()) != own.end()) {
            QVERIFY2(!shown.contains(QStringLiteral("--")) && !shown.contains(QStringLiteral("argument")),
                qPrintable(shown));
            if (error.Code() == dice::ErrorCode::CommaOutsideGroup) {
                const QString group =
                    error.Hint().empty() ? QStringLiteral("{A, B}") : QString::fromStdString(error.Hint());
                QVERIFY2(shown.contains(group), qPrintable(shown));
            }
            return;
        }
        if (!German()) {
            QCOMPARE(shown, english);
            return;
        }
        QVERIFY2(shown != english, qPrintable(shown));
        static const QRegularExpression named(QStringLiteral("[0-9]+|U\\+[0-9A-F]+|'[^']*'|[A-Z][A-Z -]+[A-Z]"));
        for (const QRegularExpressionMatch &part : named.globalMatch(english))
            QVERIFY2(shown.contains(part.captured()), qPrintable(part.captured() + QStringLiteral(" in ") + shown));
    }
}

// The expected language comes first on the command line; the rest is Qt
// Test's. The translations are installed as the program's start does.
int main(int argc, char *argv[])
{
    if (argc < 2 || (std::strcmp(argv[1], "de") != 0 && std::strcmp(argv[1], "en") != 0)) {
        std::fprintf(stderr, "usage: %s de|en [Qt Test options]\n", argv[0]);
        return 2;
    }
    g_expected = QString::fromLatin1(argv[1]);
    argv[1] = argv[0];
    int args = argc - 1;
    QApplication app(args, argv + 1);
    g_installed = window::InstallTranslations(app);
    LanguageTest test;
    return QTest::qExec(&test, args, argv + 1);
}

#include "window_language_test.moc"
