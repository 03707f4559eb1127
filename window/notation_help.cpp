#include "window/notation_help.h"

#include "window/notation_forms.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace window
{

namespace
{

enum Column { FormColumn, MeaningColumn, ExampleColumn };

QString Meaning(const NotationForm &form)
{
    return QCoreApplication::translate("window::NotationForms", form.meaning);
}

} // namespace

NotationHelp::NotationHelp(QWidget *parent)
    : QDialog(parent)
    , m_search(new QLineEdit(this))
    , m_forms(new QTableWidget(this))
    , m_note(new QLabel(this))
{
    setWindowTitle(tr("Dice Notation"));
    auto *search = new QLabel(tr("&Search:"), this);
    search->setBuddy(m_search);
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(tr("a word of a form, its meaning or its example"));
    m_search->installEventFilter(this);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const std::span<const NotationForm> forms = NotationForms();
    m_forms->setColumnCount(3);
    m_forms->setRowCount(static_cast<int>(forms.size()));
    m_forms->setHorizontalHeaderLabels({ tr("Form"), tr("Meaning"), tr("Example") });
    m_forms->setAccessibleName(tr("Forms of the dice notation"));
    for (int line = 0; line < m_forms->rowCount(); ++line) {
        const NotationForm &form = forms[static_cast<std::size_t>(line)];
        const QString texts[] = { QString::fromUtf8(form.form), Meaning(form), QString::fromUtf8(form.example) };
        for (int column = FormColumn; column <= ExampleColumn; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column != MeaningColumn)
                item->setFont(fixed);
            m_forms->setItem(line, column, item);
        }
        m_forms->item(line, ExampleColumn)->setToolTip(tr("Click to put %1 into the roll box").arg(texts[2]));
    }
    m_forms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_forms->setSelectionMode(QAbstractItemView::SingleSelection);
    m_forms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_forms->setWordWrap(true);
    m_forms->verticalHeader()->hide();
    m_forms->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_forms->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView *columns = m_forms->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(MeaningColumn, QHeaderView::Stretch);
    // Wrapped rather than cut short: each line grows as tall as it needs.
    m_forms->setTextElideMode(Qt::ElideNone);
    m_forms->installEventFilter(this);
    m_forms->setCurrentCell(0, ExampleColumn);

    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    // Named here, in the window's language whether or not Qt's own catalogue
    // is on the system. Enter uses an example; only a click or Escape closes
    // the dialog.
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(search);
    searchRow->addWidget(m_search, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_forms, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    QObject::connect(m_search, &QLineEdit::textChanged, this, [this](const QString &typed) { Narrow(typed); });
    QObject::connect(m_search, &QLineEdit::returnPressed, this, [this] { Use(m_forms->currentRow()); });
    QObject::connect(m_forms, &QTableWidget::cellClicked, this, [this](int line, int column) {
        if (column == ExampleColumn)
            Use(line);
    });
    QObject::connect(m_forms, &QTableWidget::cellActivated, this, [this](int line, int) { Use(line); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Narrow({});
    m_search->setFocus();
}

QLineEdit *NotationHelp::Search() const
{
    return m_search;
}

QTableWidget *NotationHelp::Forms() const
{
    return m_forms;
}

QString NotationHelp::Note() const
{
    return m_note->text();
}

void NotationHelp::Use(int line)
{
    if (line < 0 || line >= m_forms->rowCount() || m_forms->isRowHidden(line))
        return;
    QLineEdit *box = Target ? Target() : nullptr;
    if (!box)
        return;
    const QString example = m_forms->item(line, ExampleColumn)->text();
    // Typed over rather than set, so that Undo in the box brings its roll back.
    box->selectAll();
    box->insert(example);
    m_note->setText(tr("%1 now reads %2").arg(box->accessibleName(), example));
    // The box's window may have come up over the dialog to take it.
    raise();
}

void NotationHelp::Narrow(const QString &typed)
{
    const QStringList words = typed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::span<const NotationForm> forms = NotationForms();
    int shown = 0;
    for (int line = 0; line < m_forms->rowCount(); ++line) {
        const NotationForm &form = forms[static_cast<std::size_t>(line)];
        // The English meaning too, for a word met in the README.
        const QString text = QStringList { QString::fromUtf8(form.form),
            Meaning(form),
            QString::fromUtf8(form.meaning),
            QString::fromUtf8(form.example) }
                                 .join(QLatin1Char('\n'));
        const bool matches = std::all_of(
            words.begin(), words.end(), [&](const QString &word) { return text.contains(word, Qt::CaseInsensitive); });
        m_forms->setRowHidden(line, !matches);
        if (matches && shown++ == 0 && (m_forms->currentRow() < 0 || m_forms->isRowHidden(m_forms->currentRow())))
            m_forms->setCurrentCell(line, ExampleColumn);
    }
    if (shown == 0)
        m_note->setText(tr("No form matches \"%1\".").arg(typed.trimmed()));
    else
        m_note->setText(tr("Click an example, or press Enter on its line, to put it into the roll box."));
}

bool NotationHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // The arrows move through the lines from the search box, which keeps
    // the keys typed; typed in the table, they go to the search box.
    const bool moves = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp
        || key->key() == Qt::Key_PageDown;
    if (watched == m_search && moves) {
        QCoreApplication::sendEvent(m_forms, event);
        return true;
    }
    const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (watched == m_forms && typing) {
        m_search->setFocus();
        m_search->insert(key->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NotationHelp::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // The forms and examples as wide as most of them where there is room,
    // and at most a quarter and a third of a narrow table each, so that the
    // meanings keep the rest.
    const int letter = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance('x');
    // The table's own width: its viewport follows only once it is shown.
    const int room = m_forms->contentsRect().width() - m_forms->verticalScrollBar()->sizeHint().width();
    m_forms->horizontalHeader()->resizeSection(FormColumn, std::min(24 * letter, room / 4));
    m_forms->horizontalHeader()->resizeSection(ExampleColumn, std::min(30 * letter, room / 3));
}

QSize NotationHelp::sizeHint() const
{
    const int letter = fontMetrics().horizontalAdvance(QLatin1Char('x'));
    QSize wanted(92 * letter, 26 * fontMetrics().lineSpacing());
    if (const QScreen *shown = screen())
        wanted = wanted.boundedTo(shown->availableGeometry().size() * 3 / 4);
    return wanted;
}

NotationHelp &OpenNotationHelp(QWidget &owner, std::function<QLineEdit *()> target)
{
    NotationHelp *help = nullptr;
    for (QObject *child : owner.children()) {
        if ((help = dynamic_cast<NotationHelp *>(child)))
            break;
    }
    if (!help) {
        help = new NotationHelp(&owner);
        help->resize(help->sizeHint());
    }
    help->Target = std::move(target);
    help->show();
    help->raise();
    help->activateWindow();
    return *help;
}

QAction *NewNotationHelpAction(QObject *parent)
{
    auto *action = new QAction(NotationHelp::tr("Dice &Notation..."), parent);
    action->setShortcut(QKeySequence(Qt::Key_F1));
    return action;
}

QString RollBoxToolTip()
{
    return NotationHelp::tr("A roll in dice notation, such as\n"
                            "2d20kh1: the higher of two d20, advantage\n"
                            "4d6kh3: the best three of four d6\n"
                            "1d8!!+2: a d8 that explodes, plus 2\n"
                            "F1 lists every form.");
}

} // namespace window
