#include "window/error_mark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTextCharFormat>

#include <algorithm>

namespace window
{

namespace
{

// The UTF-16 index of a byte offset into text's UTF-8.
int Index(const QByteArray &utf8, std::size_t offset)
{
    const auto bytes = static_cast<qsizetype>(std::min(offset, static_cast<std::size_t>(utf8.size())));
    return static_cast<int>(QString::fromUtf8(utf8.left(bytes)).size());
}

// Lives on its box. Selecting the characters would be plainer, but errors
// come as the user types, and a selection there is replaced by the next key
// pressed. A text format is what an input method lays over a box's text
// while composing, and the box keeps it without moving the caret or
// touching the selection or the undo history; it is laid at the caret, so
// its start is counted from there.
class ErrorMark : public QObject
{
public:
    explicit ErrorMark(QLineEdit &box)
        : QObject(&box)
        , m_box(box)
    {
        box.installEventFilter(this);
    }

    void Show(std::optional<ErrorSpan> span)
    {
        // Laid again on every edit, since the box lays it at fixed places.
        m_span = span;
        QList<QInputMethodEvent::Attribute> formats;
        if (m_span && m_span->length > 0) {
            QTextCharFormat marked;
            const QPalette colours = m_box.palette();
            QColor tint = colours.color(QPalette::Highlight);
            tint.setAlphaF(0.3f);
            marked.setBackground(tint);
            marked.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            marked.setUnderlineColor(QColor(0xd0, 0x20, 0x20));
            formats.append(
                { QInputMethodEvent::TextFormat, m_span->start - m_box.cursorPosition(), m_span->length, marked });
        }
        QInputMethodEvent laid(QString(), formats);
        QCoreApplication::sendEvent(&m_box, &laid);
    }

    const std::optional<ErrorSpan> &Span() const
    {
        return m_span;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Tabbed into, the box would select all of its text; it takes the
        // focus first, then the caret goes to the error. A click puts the
        // caret where it points, and a window coming back to the front
        // keeps it where the user left it.
        if (watched != &m_box || event->type() != QEvent::FocusIn || !m_span)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
            || reason == Qt::MenuBarFocusReason)
            return false;
        static_cast<QObject &>(m_box).event(event);
        m_box.setCursorPosition(m_span->start);
        return true;
    }

private:
    QLineEdit &m_box;
    std::optional<ErrorSpan> m_span;
};

ErrorMark *Find(const QLineEdit &box)
{
    for (QObject *child : box.children()) {
        if (auto *mark = dynamic_cast<ErrorMark *>(child))
            return mark;
    }
    return nullptr;
}

} // namespace

ErrorSpan SpanOf(const QString &typed, const dice::ParseError &error)
{
    const QByteArray utf8 = typed.toUtf8();
    const int start = Index(utf8, error.Position());
    if (start >= typed.size())
        return { start, 0 };
    const std::string &named = error.Text();
    const QByteArray there = utf8.mid(static_cast<qsizetype>(error.Position()), static_cast<qsizetype>(named.size()));
    if (!named.empty() && there.compare(QByteArray::fromStdString(named), Qt::CaseInsensitive) == 0)
        return { start, static_cast<int>(QString::fromUtf8(there).size()) };
    return { start, typed.at(start).isHighSurrogate() && start + 1 < typed.size() ? 2 : 1 };
}

int CharacterNumber(const QString &typed, const dice::ParseError &error)
{
    const int start = SpanOf(typed, error).start;
    const auto before = QStringView(typed).first(std::min(start, static_cast<int>(typed.size())));
    return static_cast<int>(before.size() - std::count_if(before.begin(), before.end(), [](QChar unit) {
        return unit.isLowSurrogate();
    })) + 1;
}

void MarkError(QLineEdit &box, std::optional<ErrorSpan> span)
{
    ErrorMark *mark = Find(box);
    if (!mark && !span)
        return;
    if (!mark)
        mark = new ErrorMark(box);
    mark->Show(span);
}

std::optional<ErrorSpan> MarkedError(const QLineEdit &box)
{
    const ErrorMark *mark = Find(box);
    return mark ? mark->Span() : std::nullopt;
}

} // namespace window
