#pragma once

// The window services the form is written against: a handful of controls with
// the properties, methods and events the form relies on, each a thin shell over
// a Qt widget. The Qt behaviours the form must not see are bridged here:
// - a list selects nothing until the code or the user picks, and only a pick
//   (by the user, or by the code changing ListIndex) raises Click, before the
//   ListIndex setter returns; Clear and AddItem raise nothing;
// - a text box raises Change for typed and for code-set text, and GotFocus on
//   every focus entry from within the window, including SetFocus;
// - a modal Show returns once the form is hidden or closed, after the handler
//   that hid it has finished.
// An exception must not leave a Qt slot, so every event that reaches a handler
// through Qt runs under a guard that hands an escaping error to the reporter
// the form registers for its lifetime. Only Click raised by the ListIndex
// setter calls its handler directly, so its errors reach the code that set the
// index.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace window
{

using Event = std::function<void()>;

// The number of characters in a UTF-8 text.
int Len(std::string_view text);

// Runs a handler for an event that came from Qt.
void RaiseFromQt(const Event &handler);

// What RaiseFromQt does with an error that escapes a handler, for as long as
// this object lives. Registering another reporter replaces this one; this one
// then leaves the other in place when it goes.
class UnhandledErrorReporter
{
public:
    explicit UnhandledErrorReporter(Event report);
    ~UnhandledErrorReporter();
    UnhandledErrorReporter(const UnhandledErrorReporter &) = delete;
    UnhandledErrorReporter &operator=(const UnhandledErrorReporter &) = delete;

private:
    Event m_report;
};

class TextBox : public QObject
{
public:
    // A single-line box, or a multi-line one with a vertical scroll bar.
    TextBox(QWidget *parent, bool multiLine);

    // Line breaks are CR LF, whatever the widget keeps.
    std::string Text() const;
    void SetText(std::string_view text);
    void SetSelStart(int start);
    // In characters from SelStart.
    void SetSelLength(int length);
    void SetFocus();

    QWidget *Widget() const;

    Event Change;
    Event GotFocus;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_multi = nullptr;
    int m_selStart = 0;
};

class ComboBox
{
public:
    explicit ComboBox(QWidget *parent);
    // Qt's connections hold on to this object.
    ComboBox(const ComboBox &) = delete;
    ComboBox &operator=(const ComboBox &) = delete;

    void Clear();
    void AddItem(std::string_view text);
    int NewIndex() const;
    int ListIndex() const;
    void SetListIndex(int index);
    std::string List(int index) const;
    std::string Text() const;

    QComboBox *Widget() const;

    Event Click;

private:
    QComboBox *m_combo;
    int m_newIndex = -1;
};

class Label
{
public:
    Label(QWidget *parent, std::string_view caption);
    // Qt's connections hold on to this object.
    Label(const Label &) = delete;
    Label &operator=(const Label &) = delete;

    std::string Caption() const;
    void SetCaption(std::string_view caption);
    void SetToolTipText(std::string_view text);

    QLabel *Widget() const;

private:
    QLabel *m_label;
};

// Space, and Enter or Return while the button has the focus, click it; it is
// never a default button, so Enter elsewhere in the window does not.
class CommandButton : public QObject
{
public:
    CommandButton(QWidget *parent, std::string_view caption);

    QPushButton *Widget() const;

    Event Click;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_button;
};

enum PointerShape { vbDefault = 0, vbHourglass = 11 };
enum ShowStyle { vbModeless = 0, vbModal = 1 };

// The top-level window of a form: a main window whose central widget is the
// form's client area, with every control in it. Others may add a menu bar to
// the window; the client area keeps its size and the window grows around it.
class Form : public QObject
{
public:
    Form();
    ~Form() override;

    void Show(ShowStyle style);
    void Hide();
    void SetMousePointer(PointerShape pointer);

    // The client area, parent of the controls.
    QWidget *Widget() const;
    QMainWindow *Window() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<QMainWindow> m_window;
    QWidget *m_client;
    QEventLoop *m_modalLoop = nullptr;
    PointerShape m_pointer = vbDefault;
};

enum MsgBoxStyle { vbCritical = 16 };

// A modal message box with one OK button, over the active window.
void MsgBox(std::string_view prompt, MsgBoxStyle style, std::string_view title);

// CR LF as the carriage-return line-feed pair of prompts and text.
inline constexpr std::string_view vbCrLf = "\r\n";

} // namespace window
