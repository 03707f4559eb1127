// Random, seeded sequences of what a user does with the window: typing and
// pasting good, bad, extreme and empty texts, picking sides and thresholds by
// key and in the popup, computing by mouse and keyboard, moving the focus.
// After every event the whole window is compared with a small model of how it
// is meant to behave. The model counts the ways to throw each total with its
// own convolution, in the order that defines the counts, and formats through
// the number-text module; it reads nothing of the form and, of the roll state,
// only checks the sides the last Compute stored.
//
// PIPWRIGHT_RANDOM_EVENTS sets the number of events (3000 by default), run in
// sessions of at most 250 events, each on a fresh window with the roll state
// as the program starts with it; PIPWRIGHT_RANDOM_SEED sets the first
// session's seed (1 by default), the next sessions take the following seeds.
// A failure prints the session's seed and its events; setting both variables
// to that seed and the number of events listed replays it alone.
#include "tests/window/form_driver.h"

#include "numtext/parse.h"
#include "numtext/patterns.h"
#include "numtext/results.h"
#include "rollstats/rollstats.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <random>
#include <vector>

namespace
{

constexpr int kSessionEvents = 250;
const std::array<int, 11> kSides { 2, 3, 4, 5, 6, 8, 10, 12, 20, 30, 100 };
// Texts at and beyond the limits, and texts that are no numbers at all.
// clang-format off
const char *const kOddDice[] = { "0", "-1", "21", "11", "2147483648", "-2147483649", "20.5", "21.5", "0.5", "2.5",
    " 3 ", "+4", "1e1", "1e400", "99999999999999999999999999999999999999999" };
const char *const kOddModifiers[] = { "32767", "-32768", "32768", "-32769", "32767.4", "32767.6", "-32768.5", "1e4",
    " -7 ", "+3", "0.5", "-1e400" };
const char *const kNotNumbers[] = { "abc", "2 dice", "1e", "--1", ".", "1,5", "0x10", "(5)", "5-", "+", "1e+" };
// clang-format on
// The keyboard's tab order.
const QStringList kTabOrder { "Action0", "Action1", "txtN", "Text2", "cmbF", "txtM", "cmbLessThan", "cmbGreaterThan" };

// What the events did, over all sessions.
struct Tally {
    quint64 computed = 0, rejected = 0, picks = 0, clearings = 0;
} tally;

// The window as it is meant to react, reduced to what it shows.
struct Model {
    QString dice = QStringLiteral("2"), modifier = QStringLiteral("0");
    int sidesItem = 4;
    int storedSides = 0;
    std::vector<double> counts;
    double allOutcomes = 0;
    QString table;
    QStringList items;
    int atLeast = -1, atMost = -1;
    QString atLeastCaption, atLeastTip, atMostCaption, atMostTip, betweenCaption, betweenTip, average, averageTip;
    QString range = QStringLiteral("Probability roll is  >= and <=");
    QString focus = QStringLiteral("Action0");
    bool wholeTextSelected = false;
    QStringList messages;

    void Clear()
    {
        tally.clearings += !items.isEmpty();
        items.clear();
        atLeast = atMost = -1;
        atLeastCaption.clear();
        atMostCaption.clear();
        betweenCaption.clear();
        average.clear();
    }

    void Edit(QString &text, const QString &typed)
    {
        if (!text.isEmpty() || !typed.isEmpty())
            Clear();
        text = typed;
    }

    void PickSides(int item)
    {
        sidesItem = item;
        if (kSides[static_cast<std::size_t>(item)] != storedSides)
            Clear();
    }

    void Show(int first, int last, QString &caption, QString &tip) const
    {
        double outcomes = 0.0;
        for (int k = first; k <= last; ++k)
            outcomes += counts[static_cast<std::size_t>(k)];
        tip = QString::fromStdString(numtext::PercentToolTip(outcomes, allOutcomes));
        caption = QString::fromStdString(numtext::PercentCaption(outcomes, allOutcomes));
    }

    void Pick(bool atLeastList, int item)
    {
        if (atLeastList) {
            atLeast = item;
            Show(item, static_cast<int>(items.size()) - 1, atLeastCaption, atLeastTip);
        } else {
            atMost = item;
            Show(0, item, atMostCaption, atMostTip);
        }
        if (atLeast < 0 || atMost < 0)
            return;
        const int lo = std::min(atLeast, atMost), hi = std::max(atLeast, atMost);
        range = QStringLiteral("Probability roll is between %1 and %2.").arg(items[lo], items[hi]);
        Show(lo, hi, betweenCaption, betweenTip);
    }

    void Reject(const char *title, const char *prompt, const char *field)
    {
        ++tally.rejected;
        messages << QStringLiteral("%1 / %2").arg(QLatin1String(title), QLatin1String(prompt));
        focus = QLatin1String(field);
        wholeTextSelected = true;
    }

    void Compute()
    {
        const std::string diceText = dice.toStdString(), modifierText = modifier.toStdString();
        const char *numeric = "Please enter a numeric value.";
        const char *diceRange = "Please enter a different value. (1-20)";
        if (!numtext::IsNumeric(diceText))
            return Reject("Non-numeric Number of Dice!", numeric, "txtN");
        if (!numtext::IsNumeric(modifierText))
            return Reject("Non-numeric Roll Modifier!", numeric, "txtM");
        std::int32_t n = 0;
        std::int16_t m = 0;
        try {
            n = numtext::ToInt32(diceText);
        } catch (const std::exception &) {
            return Reject("Number of Dice Too High!", diceRange, "txtN");
        }
        try {
            m = numtext::ToInt16(modifierText);
        } catch (const std::exception &) {
            return Reject(
                "Modifier value to big or too small", "Please enter a smaller value. (-32,768 to 32,767)", "txtM");
        }
        const int s = storedSides = kSides[static_cast<std::size_t>(sidesItem)];
        if (s == 100 && n > 10)
            return Reject("D100 Roll Limit!",
                "Number of dice is limited to 10 for 100-sided rolls.\nPlease enter another a smaller value.",
                "txtN");
        if (n < 1 || n > 20)
            return Reject("Number of Dice Too High!", diceRange, "txtN");

        // Each die spreads every count over the next s totals, adding in
        // ascending order of the totals added from.
        counts.assign(1, 1.0);
        allOutcomes = 1.0;
        for (int die = 0; die < n; ++die) {
            std::vector<double> next(counts.size() + static_cast<std::size_t>(s) - 1);
            for (std::size_t k = 0; k < next.size(); ++k) {
                double sum = 0.0;
                const std::size_t lowest = k >= static_cast<std::size_t>(s) ? k - static_cast<std::size_t>(s) + 1 : 0;
                for (std::size_t from = lowest; from <= k && from < counts.size(); ++from)
                    sum += counts[from];
                next[k] = sum;
            }
            counts = std::move(next);
            allOutcomes *= s;
        }
        ++tally.computed;
        table.clear();
        items.clear();
        for (std::size_t k = 0; k < counts.size(); ++k) {
            const int total = n + static_cast<int>(k) + m;
            table += QString::fromStdString(numtext::TableLine(total, counts[k], allOutcomes)) + "\r\n";
            items << QString::number(total);
        }
        atLeast = atMost = -1;
        Pick(true, 0);
        Pick(false, static_cast<int>(items.size()) - 1);
        average = averageTip = QString::fromStdString(numtext::FormatPattern((s + 1) / 2.0 * n + m, "###0.0#"));
    }
};

class Session
{
public:
    explicit Session(quint64 seed)
        : m_seed(seed)
        , m_random(seed)
    {
        // As the program starts: nothing computed yet.
        rollstats::Sides = 0;
        rollstats::Modifier = 0;
        m_driver = std::make_unique<windowtest::FormDriver>();
    }

    // Runs one event and compares; false, with the failure reported, when the
    // window and the model part.
    bool Step()
    {
        // Only a focus entry into a text box selects all of its text.
        m_model.wholeTextSelected = false;
        const int kind = Below(100);
        if (kind < 25)
            TypeOrPaste(kind < 17);
        else if (kind < 45)
            PickInList(Below(3));
        else if (kind < 60)
            Compute();
        else if (kind < 85)
            MoveFocus();
        else
            EnterOrSelectElsewhere();
        if (QTest::currentTestFailed())
            return Fail(QStringLiteral("a step of the event failed"));
        const QString difference = Compare();
        return difference.isEmpty() || Fail(difference);
    }

private:
    int Below(int n)
    {
        return static_cast<int>(m_random() % static_cast<quint64>(n));
    }

    template <typename T> T OneOf(std::initializer_list<T> choices)
    {
        return choices.begin()[Below(static_cast<int>(choices.size()))];
    }

    window::frmMain &Form()
    {
        return m_driver->form();
    }

    QWidget *Named(const QString &name)
    {
        return Form().Widget()->findChild<QWidget *>(name);
    }

    template <std::size_t N> QString OneOf(const char *const (&choices)[N])
    {
        return QString::fromLatin1(choices[Below(static_cast<int>(N))]);
    }

    QString Text(bool dice)
    {
        const int kind = Below(10);
        if (kind < 6)
            return QString::number(dice ? 1 + Below(Below(2) ? 20 : 6) : Below(101) - 50);
        if (kind < 8)
            return dice ? OneOf(kOddDice) : OneOf(kOddModifiers);
        if (kind < 9)
            return OneOf(kNotNumbers);
        return QString();
    }

    void TypeOrPaste(bool type)
    {
        const bool dice = Below(2);
        window::TextBox &box = dice ? Form().txtN : Form().txtM;
        const QString text = Text(dice);
        m_log << QStringLiteral("%1 \"%2\" into %3").arg(type ? "type" : "paste", text, dice ? "txtN" : "txtM");
        if (type) {
            m_driver->Type(box, text);
        } else {
            QApplication::clipboard()->setText(text);
            QTest::mouseClick(box.Widget(), Qt::LeftButton);
            QTest::keySequence(box.Widget(), QKeySequence::SelectAll);
            QTest::keySequence(box.Widget(), QKeySequence::Paste);
        }
        m_model.focus = dice ? QStringLiteral("txtN") : QStringLiteral("txtM");
        m_model.Edit(dice ? m_model.dice : m_model.modifier, text);
    }

    void PickInList(int which)
    {
        window::ComboBox &list = which == 0 ? Form().cmbF : which == 1 ? Form().cmbGreaterThan : Form().cmbLessThan;
        QComboBox *combo = list.Widget();
        const int count = combo->count(), current = combo->currentIndex();
        m_model.focus = combo->objectName();
        int picked = -1;
        if (count > 0 && Below(4) == 0) {
            picked = Below(count);
            m_log << QStringLiteral("pick \"%1\" in the popup of %2").arg(combo->itemText(picked), combo->objectName());
            m_driver->PickInPopup(list, combo->itemText(picked));
        } else {
            const Qt::Key key =
                OneOf({ Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown });
            m_log << QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), combo->objectName());
            combo->setFocus(Qt::TabFocusReason);
            QTest::keyClick(combo, key);
            const int moved = key == Qt::Key_Home            ? 0
                : key == Qt::Key_End                         ? count - 1
                : key == Qt::Key_Up || key == Qt::Key_PageUp ? current - 1
                                                             : current + 1;
            if (count > 0 && moved >= 0 && moved < count && moved != current)
                picked = moved;
        }
        if (picked < 0)
            return;
        ++tally.picks;
        if (which == 0)
            m_model.PickSides(picked);
        else
            m_model.Pick(which == 1, picked);
    }

    void Compute()
    {
        const int how = Below(4);
        const char *const ways[] = { "mouse", "Return", "Enter", "Space" };
        m_log << QStringLiteral("Compute by %1").arg(QLatin1String(ways[how]));
        QPushButton *button = Form().Action[0].Widget();
        if (how == 0) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            button->setFocus(Qt::TabFocusReason);
            const Qt::Key key = how == 1 ? Qt::Key_Return : how == 2 ? Qt::Key_Enter : Qt::Key_Space;
            QTest::keyClick(button, key, how == 2 ? Qt::KeypadModifier : Qt::NoModifier);
        }
        m_model.focus = QStringLiteral("Action0");
        m_model.Compute();
    }

    void MoveFocus()
    {
        const bool back = Below(2);
        m_log << (back ? QStringLiteral("Backtab") : QStringLiteral("Tab"));
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab);
        const auto size = kTabOrder.size();
        const auto next = (kTabOrder.indexOf(m_model.focus) + (back ? size - 1 : 1)) % size;
        m_model.focus = kTabOrder[next];
        m_model.wholeTextSelected = m_model.focus.startsWith(QLatin1String("txt"));
    }

    // Enter where no button has the focus computes nothing; selecting a
    // result's text leaves the focus where it was.
    void EnterOrSelectElsewhere()
    {
        if (Below(2)) {
            QLabel *label = qobject_cast<QLabel *>(
                Named(QString::fromLatin1(OneOf({ "lblAvg", "lblGreaterThan", "lblLessThan", "lblBetween" }))));
            m_log << QStringLiteral("double-click %1").arg(label->objectName());
            QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(label->width() / 3, label->height() / 2));
            return;
        }
        const QString name = QString::fromLatin1(OneOf({ "txtN", "txtM", "cmbF", "cmbGreaterThan", "cmbLessThan" }));
        m_log << QStringLiteral("Return in %1").arg(name);
        QWidget *widget = Named(name);
        if (name.startsWith(QLatin1String("txt")))
            QTest::mouseClick(widget, Qt::LeftButton);
        else
            widget->setFocus(Qt::TabFocusReason);
        QTest::keyClick(widget, Qt::Key_Return);
        m_model.focus = name;
    }

    QString Compare()
    {
        window::frmMain &form = Form();
        QStringList messages;
        for (const windowtest::Message &m : m_driver->watcher().Take())
            messages << QStringLiteral("%1 / %2").arg(m.title, m.text);
        const auto items = [](const window::ComboBox &list) {
            QStringList texts;
            for (int i = 0; i < list.Widget()->count(); ++i)
                texts << list.Widget()->itemText(i);
            return texts;
        };
        const auto text = [](const window::Label &label) { return label.Widget()->text(); };
        const auto tip = [](const window::Label &label) { return label.Widget()->toolTip(); };
        const QWidget *focus = QApplication::focusWidget();

        const auto differs = [](const char *what, const auto &shown, const auto &modelled) {
            QString a, b;
            QDebug(&a) << shown;
            QDebug(&b) << modelled;
            return QStringLiteral("%1: the window shows %2, the model %3").arg(QLatin1String(what), a, b);
        };
#define PIPWRIGHT_EXPECT(what, shown, modelled)                                                                        \
    if ((shown) != (modelled))                                                                                         \
        return differs(what, shown, modelled);
        PIPWRIGHT_EXPECT("messages", messages, m_model.messages)
        m_model.messages.clear();
        PIPWRIGHT_EXPECT("txtN", QString::fromStdString(form.txtN.Text()), m_model.dice)
        PIPWRIGHT_EXPECT("txtM", QString::fromStdString(form.txtM.Text()), m_model.modifier)
        PIPWRIGHT_EXPECT("cmbF item", form.cmbF.ListIndex(), m_model.sidesItem)
        PIPWRIGHT_EXPECT("Sides", int(rollstats::Sides), m_model.storedSides)
        PIPWRIGHT_EXPECT("cmbGreaterThan items", items(form.cmbGreaterThan), m_model.items)
        PIPWRIGHT_EXPECT("cmbLessThan items", items(form.cmbLessThan), m_model.items)
        PIPWRIGHT_EXPECT("cmbGreaterThan pick", form.cmbGreaterThan.ListIndex(), m_model.atLeast)
        PIPWRIGHT_EXPECT("cmbLessThan pick", form.cmbLessThan.ListIndex(), m_model.atMost)
        PIPWRIGHT_EXPECT("lblGreaterThan", text(form.lblGreaterThan), m_model.atLeastCaption)
        PIPWRIGHT_EXPECT("lblGreaterThan tooltip", tip(form.lblGreaterThan), m_model.atLeastTip)
        PIPWRIGHT_EXPECT("lblLessThan", text(form.lblLessThan), m_model.atMostCaption)
        PIPWRIGHT_EXPECT("lblLessThan tooltip", tip(form.lblLessThan), m_model.atMostTip)
        PIPWRIGHT_EXPECT("lblBetween", text(form.lblBetween), m_model.betweenCaption)
        PIPWRIGHT_EXPECT("lblBetween tooltip", tip(form.lblBetween), m_model.betweenTip)
        PIPWRIGHT_EXPECT("Label8", text(form.Label8), m_model.range)
        PIPWRIGHT_EXPECT("lblAvg", text(form.lblAvg), m_model.average)
        PIPWRIGHT_EXPECT("lblAvg tooltip", tip(form.lblAvg), m_model.averageTip)
        PIPWRIGHT_EXPECT("Text2", QString::fromStdString(form.Text2.Text()), m_model.table)
        PIPWRIGHT_EXPECT("focus", focus ? focus->objectName() : QStringLiteral("nothing"), m_model.focus)
        if (m_model.wholeTextSelected) {
            const auto *box = qobject_cast<const QLineEdit *>(focus);
            PIPWRIGHT_EXPECT("selection", box ? box->selectedText() : QStringLiteral("no box"), box ? box->text() : "")
        }
        PIPWRIGHT_EXPECT("pointer", windowtest::MousePointer(), window::vbDefault)
        PIPWRIGHT_EXPECT("window shown", form.Widget()->isVisible(), true)
#undef PIPWRIGHT_EXPECT
        return {};
    }

    bool Fail(const QString &why)
    {
        QString report = QStringLiteral("seed %1, event %2: %3\nEvents:\n").arg(m_seed).arg(m_log.size()).arg(why);
        for (qsizetype i = 0; i < m_log.size(); ++i)
            report += QStringLiteral("%1. %2\n").arg(i + 1).arg(m_log[i]);
        report +=
            QStringLiteral("Replay: PIPWRIGHT_RANDOM_SEED=%1 PIPWRIGHT_RANDOM_EVENTS=%2").arg(m_seed).arg(m_log.size());
        QTest::qFail(qPrintable(report), __FILE__, __LINE__);
        return false;
    }

    quint64 m_seed;
    std::mt19937_64 m_random;
    std::unique_ptr<windowtest::FormDriver> m_driver;
    Model m_model;
    QStringList m_log;
};

quint64 Setting(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

} // namespace

class RandomTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eventSequencesAgreeWithTheModel();
};

void RandomTest::eventSequencesAgreeWithTheModel()
{
    QApplication::setQuitOnLastWindowClosed(false);
    const quint64 events = Setting("PIPWRIGHT_RANDOM_EVENTS", 3000);
    const quint64 firstSeed = Setting("PIPWRIGHT_RANDOM_SEED", 1);
    quint64 run = 0;
    for (quint64 seed = firstSeed; run < events; ++seed) {
        Session session(seed);
        for (quint64 i = 0; i < kSessionEvents && run < events; ++i, ++run) {
            if (!session.Step())
                return;
        }
    }
    // Printed directly: Qt Test stops showing messages after a few thousand
    // warnings of the offscreen platform.
    std::printf("%llu events in sessions seeded %llu to %llu agreed with the model: %llu rolls computed, %llu "
                "rejected, %llu picks in lists, %llu clearings of filled results\n",
        run,
        firstSeed,
        firstSeed + (events + kSessionEvents - 1) / kSessionEvents - 1,
        tally.computed,
        tally.rejected,
        tally.picks,
        tally.clearings);
    std::fflush(stdout);
}

QTEST_MAIN(RandomTest)
#include "window_random_test.moc"
