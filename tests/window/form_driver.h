#pragma once

// Drives the real calculator window as a user would, for Qt Test programs run
// under the offscreen platform. FormDriver owns a loaded, shown frmMain and a
// MessageWatcher that answers every modal message box, so no test blocks on
// one; the boxes it answered wait in Messages() until a test takes them, and
// VerifyNoMessages() (call it from cleanup()) fails the test for any box nobody
// expected. The input helpers go through mouse and keyboard events only.
//
// Linking the driver makes a test program run under the offscreen platform
// unless QT_QPA_PLATFORM names another, so it also runs by hand.
//
// The helpers use QVERIFY: after calling one, a test that goes on must check
// QTest::currentTestFailed(), or wrap the call in DRIVE().

#include "window/compare.h"
#include "window/frmmain.h"
#include "window/startup.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

#define DRIVE(call)                                                                                                    \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

namespace windowtest
{

struct Message {
    QString title;
    QString text; // line breaks as the box shows them, "\n"
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

// Polls for a modal widget on the event loop of every nested exec, records it
// and answers it: a message box by its OK button (or by rejecting it when it
// has none), any other modal widget by closing it.
class MessageWatcher : public QObject
{
public:
    MessageWatcher();

    QList<Message> Take();
    int Pending() const;
    // Other modal widgets than message boxes, closed unanswered.
    int Strangers() const;

private:
    void Poll();

    QTimer m_timer;
    QList<Message> m_messages;
    int m_strangers = 0;
};

// What only tests read: the number of items in a list, and the pointer the
// window shows, busy while Qt overrides the cursor with a wait cursor.
int ListCount(const window::ComboBox &list);
window::PointerShape MousePointer();

// What the window shows as results, with the roll state behind them.
struct Results {
    QString table;
    QStringList atLeast, atMost;
    int atLeastIndex = -1, atMostIndex = -1;
    QString greaterThan, greaterThanTip, lessThan, lessThanTip, between, betweenTip, average, averageTip, range;
    QList<double> counts;
    double totalOutcomes = 0.0;

    static Results Of(window::frmMain &form);
    // Empty when equal, else the first field that differs with both values.
    QString Diff(const Results &other) const;
};

class FormDriver
{
public:
    // The whole calculator as the program opens it, or the form alone with
    // nothing listening to it.
    enum class Build { Calculator, FormAlone };
    explicit FormDriver(Build build = Build::Calculator);
    ~FormDriver();

    window::frmMain &form();
    // Only with the whole calculator.
    window::Calculator &calculator();
    MessageWatcher &watcher();

    // Clicks into the box, selects all with the keyboard and types text over
    // it (an empty text deletes the selection).
    void Type(window::TextBox &box, const QString &text);
    // Picks the item with this text on the closed list with the arrow keys,
    // one item at a time, as a user stepping through it.
    void PickByKeys(window::ComboBox &list, const QString &text);
    // Opens the list with the keyboard and clicks the item in its popup; this
    // also picks the item already selected.
    void PickInPopup(window::ComboBox &list, const QString &text);
    void Click(window::CommandButton &button);

    // Types the dice and the modifier and picks the sides; clicks nothing.
    void Enter(const QString &dice, const QString &sides, const QString &modifier);

    // Types the dice and the modifier, picks the sides and clicks Compute,
    // expecting no message.
    void Compute(const QString &dice, const QString &sides, const QString &modifier);
    // The same, expecting exactly one message, which is returned.
    Message ComputeRejected(const QString &dice, const QString &sides, const QString &modifier);

    void VerifyNoMessages();

private:
    std::unique_ptr<window::Calculator> m_calculator;
    std::unique_ptr<window::frmMain> m_formAlone;
    window::frmMain *m_form;
    MessageWatcher m_watcher;
};

// The fixture every window test derives from: a fresh window for each test
// function, and a failure for any message box nobody expected.
class FormTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

protected:
    std::unique_ptr<FormDriver> m_driver;
};

// Wraps an event of a control so that before and after run around its handler;
// handlers raised by the code and by Qt both go through the event member.
template <typename Before, typename After> void Around(window::Event &event, Before before, After after)
{
    event = [handler = event, before, after] {
        before();
        handler();
        after();
    };
}

// A Compare window on the rolls, typed in order, with its settings in
// settingsFile; shown, the counts still running.
std::unique_ptr<window::CompareWindow> OpenCompare(const QStringList &rolls, const QString &settingsFile);

} // namespace windowtest
