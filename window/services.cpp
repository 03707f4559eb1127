#include "window/services.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "runtime/errors.h"

#include <exception>
#include <utility>

namespace window
{

namespace
{

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString WithoutCr(std::string_view text)
{
    return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

int Len(std::string_view text)
{
    // Every byte except UTF-8 continuation bytes starts a character.
    int count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

namespace
{

const Event *unhandledErrorReporter = nullptr;

} // namespace

UnhandledErrorReporter::UnhandledErrorReporter(Event report)
    : m_report(std::move(report))
{
    unhandledErrorReporter = &m_report;
}

UnhandledErrorReporter::~UnhandledErrorReporter()
{
    if (unhandledErrorReporter == &m_report)
        unhandledErrorReporter = nullptr;
}

void RaiseFromQt(const Event &handler)
{
    if (!handler)
        return;
    try {
        handler();
    } catch (const std::exception &) {
        if (unhandledErrorReporter && *unhandledErrorReporter)
            (*unhandledErrorReporter)();
    }
}

TextBox::TextBox(QWidget *parent, bool multiLine)
{
    QWidget *widget;
    if (multiLine) {
        m_multi = new QPlainTextEdit(parent);
        m_multi->setTabChangesFocus(true);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_multi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(m_multi, &QPlainTextEdit::textChanged, this, [this] { RaiseFromQt(Change); });
        widget = m_multi;
    } else {
        m_line = new QLineEdit(parent);
        QObject::connect(m_line, &QLineEdit::textChanged, this, [this] { RaiseFromQt(Change); });
        widget = m_line;
    }
    widget->installEventFilter(this);
}

std::string TextBox::Text() const
{
    if (m_line)
        return m_line->text().toStdString();
    return m_multi->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

void TextBox::SetText(std::string_view text)
{
    if (m_line)
        m_line->setText(FromUtf8(text));
    else
        m_multi->setPlainText(WithoutCr(text));
}

void TextBox::SetSelStart(int start)
{
    m_selStart = start;
    if (m_line)
        m_line->setCursorPosition(start);
}

void TextBox::SetSelLength(int length)
{
    if (!m_line)
        return;
    // Characters outside the basic plane take two UTF-16 units each.
    const QString text = m_line->text();
    qsizetype end = m_selStart;
    for (int i = 0; i < length && end < text.size(); ++i)
        end += (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    m_line->setSelection(m_selStart, static_cast<int>(end - m_selStart));
}

void TextBox::SetFocus()
{
    QWidget *widget = Widget();
    // A closing message box leaves the window inactive, and the platform hands
    // activation back through its event queue: let that arrive, user input
    // excepted. Where it comes later still (a window manager's round trip), the
    // box becomes the window's focus widget without a focus event, and the one
    // it gets on activation is no focus entry (see eventFilter), so GotFocus is
    // raised here.
    QWidget *top = widget->window();
    if (!top->isActiveWindow()) {
        top->activateWindow();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    const bool entersNow = top->isActiveWindow() && !widget->hasFocus();
    widget->setFocus(Qt::OtherFocusReason);
    if (!entersNow && GotFocus)
        GotFocus();
}

QWidget *TextBox::Widget() const
{
    return m_line ? static_cast<QWidget *>(m_line) : m_multi;
}

bool TextBox::eventFilter(QObject *watched, QEvent *event)
{
    // Coming back to the window from another one, from the box's own context
    // menu or from the menu bar is no focus entry: selecting all then would
    // make the menu's Paste or Cut act on the whole text.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            RaiseFromQt(GotFocus);
    }
    return QObject::eventFilter(watched, event);
}

ComboBox::ComboBox(QWidget *parent)
    : m_combo(new QComboBox(parent))
{
    m_combo->setEditable(false);
    QObject::connect(m_combo, &QComboBox::activated, m_combo, [this] { RaiseFromQt(Click); });
}

void ComboBox::Clear()
{
    const QSignalBlocker quiet(m_combo);
    m_combo->clear();
    m_newIndex = -1;
}

void ComboBox::AddItem(std::string_view text)
{
    const QSignalBlocker quiet(m_combo);
    const int selected = m_combo->currentIndex();
    m_combo->addItem(FromUtf8(text));
    // QComboBox selects the first item added to an empty list by itself.
    m_combo->setCurrentIndex(selected);
    m_newIndex = m_combo->count() - 1;
}

int ComboBox::NewIndex() const
{
    return m_newIndex;
}

int ComboBox::ListIndex() const
{
    return m_combo->currentIndex();
}

void ComboBox::SetListIndex(int index)
{
    if (index < -1 || index >= m_combo->count())
        throw runtime::RuntimeError("invalid list index");
    if (index == m_combo->currentIndex())
        return;
    {
        const QSignalBlocker quiet(m_combo);
        m_combo->setCurrentIndex(index);
    }
    if (Click)
        Click();
}

std::string ComboBox::List(int index) const
{
    return m_combo->itemText(index).toStdString();
}

std::string ComboBox::Text() const
{
    return m_combo->currentText().toStdString();
}

QComboBox *ComboBox::Widget() const
{
    return m_combo;
}

Label::Label(QWidget *parent, std::string_view caption)
    : m_label(new QLabel(FromUtf8(caption), parent))
{
    m_label->setTextFormat(Qt::PlainText);
}

std::string Label::Caption() const
{
    return m_label->text().toStdString();
}

void Label::SetCaption(std::string_view caption)
{
    m_label->setText(FromUtf8(caption));
}

void Label::SetToolTipText(std::string_view text)
{
    m_label->setToolTip(FromUtf8(text));
}

QLabel *Label::Widget() const
{
    return m_label;
}

CommandButton::CommandButton(QWidget *parent, std::string_view caption)
    : m_button(new QPushButton(FromUtf8(caption), parent))
{
    m_button->setAutoDefault(false);
    m_button->setDefault(false);
    QObject::connect(m_button, &QPushButton::clicked, m_button, [this] { RaiseFromQt(Click); });
    m_button->installEventFilter(this);
}

QPushButton *CommandButton::Widget() const
{
    return m_button;
}

bool CommandButton::eventFilter(QObject *watched, QEvent *event)
{
    // Qt clicks a focused button on Enter only when it may become the default
    // button, which this one must not.
    if (watched == m_button && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeypadModifier;
        if (enter && others == Qt::NoModifier && !key->isAutoRepeat()) {
            m_button->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

Form::Form()
    : m_window(std::make_unique<QMainWindow>())
    , m_client(new QWidget(m_window.get()))
{
    m_window->setCentralWidget(m_client);
    // The client area has a fixed size; the window is that and its menu bar.
    m_window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_window->installEventFilter(this);
}

Form::~Form()
{
    SetMousePointer(vbDefault);
}

void Form::Show(ShowStyle style)
{
    m_window->show();
    m_window->activateWindow();
    if (style != vbModal || m_modalLoop)
        return;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
}

void Form::Hide()
{
    // The modal loop returns only once control is back in it, that is after
    // the handler that called Hide has finished.
    m_window->hide();
}

void Form::SetMousePointer(PointerShape pointer)
{
    if (pointer == m_pointer)
        return;
    if (m_pointer == vbHourglass)
        QApplication::restoreOverrideCursor();
    if (pointer == vbHourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pointer = pointer;
}

QWidget *Form::Widget() const
{
    return m_client;
}

QMainWindow *Form::Window() const
{
    return m_window.get();
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    // Minimising sends a spontaneous hide; only a real hide or close ends Show.
    if (watched == m_window.get() && event->type() == QEvent::Hide && m_window->isHidden() && m_modalLoop)
        m_modalLoop->quit();
    return QObject::eventFilter(watched, event);
}

void MsgBox(std::string_view prompt, MsgBoxStyle style, std::string_view title)
{
    const auto icon = style == vbCritical ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, FromUtf8(title), WithoutCr(prompt), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace window
