#include "window/compare_files.h"

#include "window/compare.h"
#include "window/compare_print.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSettings>

#include <algorithm>
#include <stdexcept>

namespace window
{

namespace
{

// No set of eight rolls comes near this; anything longer is another file.
constexpr qint64 kLargestFile = 1 << 20;

const QString kRecentKey = QStringLiteral("compare/recent");

QString Named(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

CompareFiles::CompareFiles(CompareWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_bar(new QMenuBar(&window))
{
    QMenu *file = m_bar->addMenu(tr("&File"));
    m_new = file->addAction(tr("&New"));
    m_new->setShortcut(QKeySequence::New);
    m_open = file->addAction(tr("&Open..."));
    m_open->setShortcut(QKeySequence::Open);
    m_recent = file->addMenu(tr("Open &Recent"));
    file->addSeparator();
    m_save = file->addAction(tr("&Save"));
    m_save->setShortcut(QKeySequence::Save);
    m_saveAs = file->addAction(tr("Save &As..."));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    m_print = file->addAction(tr("&Print..."));
    m_print->setShortcut(QKeySequence::Print);
    m_pdf = file->addAction(tr("&Export PDF..."));
    window.layout()->setMenuBar(m_bar);
    // Under a menu bar the rolls need no margin of a window's edge above
    // them: the bar gives back most of the height it takes, which a short
    // screen needs for the plot.
    QLayout *content = window.ScrollArea()->widget()->layout();
    content->setContentsMargins(
        content->contentsMargins() - QMargins(0, content->contentsMargins().top() * 2 / 3, 0, 0));

    QObject::connect(m_new, &QAction::triggered, this, [this] { New(); });
    QObject::connect(m_open, &QAction::triggered, this, [this] { Open(); });
    QObject::connect(m_save, &QAction::triggered, this, [this] { Save(); });
    QObject::connect(m_saveAs, &QAction::triggered, this, [this] { SaveAs(); });
    QObject::connect(m_print, &QAction::triggered, this, [this] { Print(); });
    QObject::connect(m_pdf, &QAction::triggered, this, [this] { ExportPdf(); });
    QObject::connect(m_recent, &QMenu::aboutToShow, this, [this] { FillRecent(); });
    FillRecent();
    m_window.Edited = [this] { Edited(); };
    m_window.installEventFilter(this);
    // The calculator's window takes this one along when it closes.
    if (QWidget *owner = m_window.parentWidget())
        owner->installEventFilter(this);
    ShowTitle();
}

QMenuBar *CompareFiles::Bar() const
{
    return m_bar;
}

QAction *CompareFiles::NewItem() const
{
    return m_new;
}

QAction *CompareFiles::OpenItem() const
{
    return m_open;
}

QAction *CompareFiles::SaveItem() const
{
    return m_save;
}

QAction *CompareFiles::SaveAsItem() const
{
    return m_saveAs;
}

QMenu *CompareFiles::RecentMenu() const
{
    return m_recent;
}

QAction *CompareFiles::PrintItem() const
{
    return m_print;
}

QAction *CompareFiles::ExportPdfItem() const
{
    return m_pdf;
}

QString CompareFiles::Path() const
{
    return m_path;
}

bool CompareFiles::Modified() const
{
    return !m_path.isEmpty() && m_saved && m_window.Set() != *m_saved;
}

QStringList CompareFiles::Recent()
{
    QSettings &settings = m_window.Settings();
    QStringList kept;
    for (const QString &path : settings.value(kRecentKey).toStringList()) {
        if (QFileInfo(path).isFile() && !kept.contains(path))
            kept << path;
    }
    kept = kept.mid(0, kMostRecent);
    // A file moved or deleted since is dropped for good.
    if (kept != settings.value(kRecentKey).toStringList())
        settings.setValue(kRecentKey, kept);
    return kept;
}

void CompareFiles::Remember(const QString &path)
{
    QStringList recent = Recent();
    recent.removeAll(path);
    recent.prepend(path);
    m_window.Settings().setValue(kRecentKey, recent.mid(0, kMostRecent));
}

void CompareFiles::FillRecent()
{
    m_recent->clear();
    const QStringList recent = Recent();
    for (int i = 0; i < recent.size(); ++i) {
        const QString shown = m_recent->fontMetrics().elidedText(QDir::toNativeSeparators(recent[i]),
            Qt::ElideMiddle,
            60 * m_recent->fontMetrics().horizontalAdvance(QLatin1Char('x')));
        QAction *item = m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        QObject::connect(item, &QAction::triggered, this, [this, path = recent[i]] { OpenFile(path); });
    }
    if (recent.isEmpty())
        m_recent->addAction(tr("No files opened yet"))->setEnabled(false);
}

void CompareFiles::ShowTitle()
{
    if (m_path.isEmpty())
        m_window.setWindowTitle(QCoreApplication::translate("window::CompareWindow", "Compare Rolls"));
    else
        m_window.setWindowTitle(tr("%1[*] - Compare Rolls").arg(Named(m_path)));
    m_window.setWindowModified(Modified());
}

void CompareFiles::Edited()
{
    m_window.setWindowModified(Modified());
}

QMessageBox::StandardButton CompareFiles::AskToSave(const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::Question,
        title,
        question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        &m_window);
    box.setDefaultButton(QMessageBox::Save);
    // Named in the window's language, whether or not Qt's own catalogue is
    // on the system.
    box.button(QMessageBox::Save)->setText(tr("&Save"));
    box.button(QMessageBox::Discard)->setText(tr("&Discard"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool CompareFiles::MayDiscard()
{
    if (!Modified())
        return true;
    const QMessageBox::StandardButton answer =
        AskToSave(tr("Save Rolls"), tr("The rolls in %1 have changed. Save them?").arg(Named(m_path)));
    if (answer == QMessageBox::Save)
        return Save();
    return answer == QMessageBox::Discard;
}

void CompareFiles::New()
{
    if (!MayDiscard())
        return;
    // The set kept between runs is the only copy of rolls in no file.
    const compare::RollSet shown = m_window.Set();
    const bool typed = std::any_of(shown.rolls.begin(), shown.rolls.end(), [](const std::string &roll) {
        return !QString::fromStdString(roll).trimmed().isEmpty();
    });
    if (m_path.isEmpty() && typed) {
        const QMessageBox::StandardButton answer = AskToSave(
            tr("New Rolls"), tr("The rolls shown are in no file, and the new set takes their place. Save them first?"));
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !SaveAs()))
            return;
    }
    m_window.ShowSet({});
    m_path.clear();
    m_saved.reset();
    m_heading.clear();
    // Back to the set kept between runs, which the empty one now is.
    m_window.SetRemembered(true);
    ShowTitle();
}

void CompareFiles::Open()
{
    if (!MayDiscard())
        return;
    const QString path = QFileDialog::getOpenFileName(&m_window,
        tr("Open Rolls"),
        m_path.isEmpty() ? QDir::homePath() : QFileInfo(m_path).absolutePath(),
        tr("Sets of rolls (*.rolls);;All files (*)"));
    if (!path.isEmpty())
        OpenFile(path);
}

QString CompareFiles::Why(const compare::RollSetError &error)
{
    using Fault = compare::RollSetError::Fault;
    const QString detail = QString::fromStdString(error.Detail());
    switch (error.Kind()) {
    case Fault::NotText:
        return tr("the line is not UTF-8 text");
    case Fault::BadTarget:
        return tr("a target is \"at least\", \"at most\" or \"exactly\" and a total, such as \"target: at least 15\"");
    case Fault::BadTotal:
        return tr("the target's total \"%1\" is not a whole number from %2 to %3")
            .arg(detail)
            .arg(-compare::kLargestTarget)
            .arg(compare::kLargestTarget);
    case Fault::BadView:
        return tr("a view is \"exactly\", \"at least\" or \"at most\"");
    case Fault::SecondTarget:
        return tr("a second target");
    case Fault::SecondView:
        return tr("a second view");
    default:
        return tr("\"%1:\" is no setting; a file has \"target:\" and \"view:\"").arg(detail);
    }
}

bool CompareFiles::OpenFile(const QString &path)
{
    if (!MayDiscard())
        return false;
    const QString name = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString &why) {
        QMessageBox::warning(&m_window, tr("Open Rolls"), tr("%1 could not be opened: %2").arg(name, why));
        return false;
    };
    QFile file(path);
    if (QFileInfo(path).isDir())
        return refuse(tr("it is a folder"));
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    if (file.size() > kLargestFile)
        return refuse(tr("it is too long to be a set of rolls"));
    const QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    compare::RollSet set;
    try {
        set = compare::ReadRollSet(bytes.toStdString());
    } catch (const compare::RollSetError &error) {
        return refuse(tr("line %1: %2").arg(error.Line()).arg(Why(error)));
    }
    if (set.rolls.size() > static_cast<std::size_t>(CompareWindow::kMostRolls)) {
        const QString why = tr("it holds %1 rolls, and Compare Rolls shows at most %2");
        return refuse(why.arg(set.rolls.size()).arg(CompareWindow::kMostRolls));
    }
    // The set kept between runs stays as it was: this one is kept in its file.
    m_window.SetRemembered(false);
    m_window.ShowSet(set);
    m_heading = set.heading;
    m_path = QFileInfo(path).absoluteFilePath();
    m_saved = m_window.Set();
    Remember(m_path);
    ShowTitle();
    return true;
}

bool CompareFiles::Save()
{
    return m_path.isEmpty() ? SaveAs() : SaveTo(m_path);
}

bool CompareFiles::SaveAs()
{
    const QString suggested = m_path.isEmpty() ? QDir::home().filePath(tr("rolls") + QStringLiteral(".rolls")) : m_path;
    QString path = QFileDialog::getSaveFileName(&m_window, tr("Save Rolls"), suggested, tr("Sets of rolls (*.rolls)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rolls");
    return SaveTo(path);
}

bool CompareFiles::SaveTo(const QString &path)
{
    const auto fail = [&](const QString &why) {
        QMessageBox::warning(&m_window,
            tr("Save Rolls"),
            tr("The rolls could not be saved to %1: %2").arg(QDir::toNativeSeparators(path), why));
        return false;
    };
    compare::RollSet set = m_window.Set();
    for (std::size_t i = 0; i < set.rolls.size(); ++i) {
        if (!QString::fromStdString(set.rolls[i]).trimmed().isEmpty() && !compare::ReadsAsRoll(set.rolls[i])) {
            const QString why = tr("roll %1 would read back as a comment or a setting, as a line that starts with "
                                   "\"#\" or with a word and a colon does");
            return fail(why.arg(i + 1));
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    set.heading = m_heading;
    const std::string text = compare::WriteRollSet(set);
    set.heading.clear();
    // Renamed into place only when whole: a failed write leaves the old file.
    // Flushed here, as committing drops an error in writing out its buffer,
    // and a disk that takes part of the text is no error to the file itself.
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !file.flush()) {
        const QString why =
            file.error() != QFileDevice::NoError ? file.errorString() : tr("the disk took only part of them");
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    m_path = QFileInfo(path).absoluteFilePath();
    m_saved = set;
    m_window.SetRemembered(false);
    Remember(m_path);
    ShowTitle();
    return true;
}

void CompareFiles::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_window.windowTitle().remove(QStringLiteral("[*]")));
    QPrintDialog dialog(&printer, &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PrintComparison(printer, m_window))
        QMessageBox::warning(&m_window, tr("Print"), tr("The printer could not be started."));
}

void CompareFiles::ExportPdf()
{
    const QString base = m_path.isEmpty()
        ? QDir::home().filePath(QStringLiteral("compare"))
        : QFileInfo(m_path).absoluteDir().filePath(QFileInfo(m_path).completeBaseName());
    QString path = QFileDialog::getSaveFileName(
        &m_window, tr("Export PDF"), base + QStringLiteral(".pdf"), tr("PDF documents (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    ExportPdfTo(path);
}

bool CompareFiles::ExportPdfTo(const QString &path)
{
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly))
        why = file.errorString();
    else if (!WriteComparisonPdf(file, m_window, m_window.windowTitle().remove(QStringLiteral("[*]"))))
        why = tr("the pages could not be drawn");
    else if (!file.flush() || !file.commit())
        why = file.errorString();
    if (why.isEmpty())
        return true;
    QMessageBox::warning(&m_window,
        tr("Export PDF"),
        tr("The PDF could not be written to %1: %2").arg(QDir::toNativeSeparators(path), why));
    return false;
}

bool CompareFiles::eventFilter(QObject *watched, QEvent *event)
{
    const bool closing = event->type() == QEvent::Close;
    if (closing && (watched == &m_window || watched == m_window.parentWidget()) && !MayDiscard()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace window
