// Sets of rolls in files, through the Compare window's File menu: a save that
// fails half-way leaves the old file, a file that cannot be read changes
// nothing, the title marks a set that differs from its file, closing such a
// set asks, pasted lines become rows, and the PDF holds the figures shown.
#include "tests/window/form_driver.h"

#include "compare/roll_set.h"
#include "window/compare.h"
#include "window/compare_files.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using compare::View;

namespace
{

bool Settled(const window::CompareWindow &compare)
{
    return QTest::qWaitFor([&] { return !compare.Computing(); }, 60'000);
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList Rolls(const window::CompareWindow &compare)
{
    QStringList rolls;
    for (int i = 0; i < compare.RollCount(); ++i)
        rolls << compare.RollEdit(i)->text();
    return rolls;
}

} // namespace

class CompareFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void savesWholeOrNotAtAll();
    void opensAHandWrittenFile();
    void unreadableFileChangesNothing();
    void closingAChangedSetAsks();
    void pastedLinesBecomeRows();
    void exportsTheFiguresAsPdf();
    void opensTheFileNamedAtStartup();

private:
    std::unique_ptr<window::CompareWindow> Open(const QStringList &rolls)
    {
        return windowtest::OpenCompare(rolls, m_dir->filePath(QStringLiteral("settings.ini")));
    }
    QString Path(const char *name) const
    {
        return m_dir->filePath(QString::fromLatin1(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<windowtest::MessageWatcher> m_watcher;
};

void CompareFilesTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_watcher = std::make_unique<windowtest::MessageWatcher>();
}

void CompareFilesTest::cleanup()
{
    QCOMPARE(m_watcher->Pending(), 0);
}

void CompareFilesTest::savesWholeOrNotAtAll()
{
    auto compare = Open({ QStringLiteral("1d6") });
    window::CompareFiles &files = *compare->Files();
    const QString path = Path("set.rolls");
    QVERIFY(files.SaveTo(path));
    const QByteArray old = Contents(path);
    QCOMPARE(compare->windowTitle(), QStringLiteral("set.rolls[*] - Compare Rolls"));
    QVERIFY(!compare->isWindowModified());

    // Longer than the process may write: the write stops part of the way.
    for (const char *roll : { "2d20kh1+5", "4d6kh3", "let t = 2d6+1 in if t >= 10 then \"strong hit\" else \"miss\"" })
        compare->AddRoll(QString::fromLatin1(roll));
    QVERIFY(compare->isWindowModified());
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = static_cast<rlim_t>(old.size() + 8);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool saved = files.SaveTo(path);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &before), 0);
    QVERIFY(!saved);
    const QList<windowtest::Message> told = m_watcher->Take();
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].text.startsWith(QStringLiteral("The rolls could not be saved to ")), qPrintable(told[0].text));
    QCOMPARE(Contents(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList({ QStringLiteral("set.rolls*") }, QDir::Files),
        QStringList { QStringLiteral("set.rolls") });
    QVERIFY(compare->isWindowModified());

    QVERIFY(files.Save());
    compare::RollSet written = compare::ReadRollSet(Contents(path).toStdString());
    written.heading.clear();
    QCOMPARE(written, compare->Set());
    QVERIFY(!compare->isWindowModified());
    // Changed and changed back, the set is its file's again.
    compare->RollEdit(0)->setText(QStringLiteral("1d8"));
    QVERIFY(compare->isWindowModified());
    compare->RollEdit(0)->setText(QStringLiteral("1d6"));
    QVERIFY(!compare->isWindowModified());
    QCOMPARE(files.Recent(), QStringList { path });
    QVERIFY(Settled(*compare));
}

void CompareFilesTest::opensAHandWrittenFile()
{
    const QString path = Path("hand.rolls");
    Write(path, "\xEF\xBB\xBF# Rogue\r\n\r\n  1d20+7\r\ntarget: exactly 12\r\n# the other\r\nview: at most\r\n2d6+5");
    auto compare = Open({ QStringLiteral("3d6") });
    QVERIFY(compare->Files()->OpenFile(path));
    QCOMPARE(Rolls(*compare), QStringList({ QStringLiteral("1d20+7"), QStringLiteral("2d6+5") }));
    QCOMPARE(compare->Target()->value(), 12);
    QCOMPARE(compare->Sense()->currentData().toInt(), static_cast<int>(View::Exactly));
    QCOMPARE(compare->Shown().ViewShown(), View::AtMost);
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->Table()->rowCount(), 2);
    QCOMPARE(compare->windowTitle(), QStringLiteral("hand.rolls[*] - Compare Rolls"));
    QVERIFY(!compare->isWindowModified());
    // Saved again, the file keeps the name it was given at its head.
    QVERIFY(compare->Files()->Save());
    QVERIFY2(Contents(path).startsWith("# Rogue\ntarget: exactly 12\nview: at most\n1d20+7\n"), Contents(path));

    // The set kept between runs is not the file's.
    compare.reset();
    auto again = Open({});
    QCOMPARE(Rolls(*again), QStringList { QStringLiteral("3d6") });
    QCOMPARE(again->Files()->Recent(), QStringList { path });
    QVERIFY(QFile::remove(path));
    QCOMPARE(again->Files()->Recent(), QStringList());
    QVERIFY(Settled(*again));
}

void CompareFilesTest::unreadableFileChangesNothing()
{
    auto compare = Open({ QStringLiteral("2d6"), QStringLiteral("1d12") });
    QVERIFY(compare->Files()->SaveTo(Path("good.rolls")));
    const compare::RollSet saved = compare->Set();
    const QString title = compare->windowTitle();
    Write(Path("bad.rolls"), "1d6\n# fine so far\ntarget: at least fifteen\n");
    Write(Path("many.rolls"), QByteArray("1d6\n").repeated(9));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.rolls")));
    for (const char *name : { "bad.rolls", "many.rolls", "folder.rolls", "missing.rolls" }) {
        // Asked to save the changed set first, the watcher keeps it.
        compare->RollEdit(1)->setText(QStringLiteral("1d10"));
        const compare::RollSet changed = compare->Set();
        QVERIFY(!compare->Files()->OpenFile(Path(name)));
        QList<windowtest::Message> told = m_watcher->Take();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].buttons.contains(QMessageBox::Discard), qPrintable(told[0].text));
        QCOMPARE(compare->Set(), changed);
        // Not asked once the set is its file's again; then told why not.
        compare->RollEdit(1)->setText(QStringLiteral("1d12"));
        QVERIFY(!compare->Files()->OpenFile(Path(name)));
        told = m_watcher->Take();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].text.contains(QStringLiteral(" could not be opened: ")), qPrintable(told[0].text));
        QCOMPARE(compare->Set(), saved);
        QCOMPARE(compare->windowTitle(), title);
        QCOMPARE(compare->Files()->Path(), Path("good.rolls"));
    }
    QVERIFY(Settled(*compare));
}

void CompareFilesTest::closingAChangedSetAsks()
{
    auto compare = Open({ QStringLiteral("1d6") });
    QVERIFY(compare->Files()->SaveTo(Path("close.rolls")));
    compare->Target()->setValue(4);
    QVERIFY(compare->isWindowModified());
    // The watcher answers Cancel, the box's escape.
    QVERIFY(!compare->close());
    QVERIFY(compare->isVisible());
    const QList<windowtest::Message> told = m_watcher->Take();
    QCOMPARE(told.size(), 1);
    QCOMPARE(told[0].buttons.size(), 3);
    compare->Target()->setValue(15);
    QVERIFY(compare->close());
    QVERIFY(Settled(*compare));
}

void CompareFilesTest::pastedLinesBecomeRows()
{
    auto compare = Open({ QStringLiteral("1d4"), QStringLiteral("1d20") });
    QApplication::clipboard()->setText(QStringLiteral("2d6\n\n  3d6 \r\n4d6\n"));
    QLineEdit *edit = compare->RollEdit(0);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Rolls(*compare),
        QStringList({ QStringLiteral("2d6"), QStringLiteral("3d6"), QStringLiteral("4d6"), QStringLiteral("1d20") }));
    QVERIFY(Settled(*compare));
    QCOMPARE(compare->Table()->rowCount(), 4);
    QCOMPARE(compare->Table()->item(1, 0)->text(), QStringLiteral("3d6"));
}

void CompareFilesTest::exportsTheFiguresAsPdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext, of poppler-utils, reads the PDF back");
    auto compare = Open({ QStringLiteral("2d6"), QStringLiteral("1d12+1") });
    compare->Target()->setValue(9);
    QVERIFY(Settled(*compare));
    const QString path = Path("compare.pdf");
    QVERIFY(compare->Files()->ExportPdfTo(path));
    QProcess reader;
    reader.start(pdftotext, { QStringLiteral("-layout"), path, QStringLiteral("-") });
    QVERIFY(reader.waitForFinished(30'000));
    QCOMPARE(reader.exitCode(), 0);
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    // What the window shows, each table's figures and the plot's title.
    for (const QString &shown : { compare->Table()->item(0, 0)->text(),
             compare->Table()->item(1, 0)->text(),
             compare->Table()->item(0, 5)->text(),
             compare->Table()->item(1, 3)->text(),
             compare->HeadToHeadTable()->item(0, 2)->text(),
             compare->HeadToHeadTable()->item(1, 1)->text() })
        QVERIFY2(text.contains(shown), qPrintable(shown + QStringLiteral(" is not in:\n") + text));
    QVERIFY2(text.contains(QStringLiteral("Chance of at least 9")), qPrintable(text));
    // No PDF goes where none can be written, and the reason is told.
    QVERIFY(!compare->Files()->ExportPdfTo(Path("no/such/folder/compare.pdf")));
    QCOMPARE(m_watcher->Take().size(), 1);
}

void CompareFilesTest::opensTheFileNamedAtStartup()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString path = Path("start.rolls");
    Write(path, "target: at most 5\n1d8\n");
    windowtest::FormDriver driver;
    driver.calculator().OpenSet(path);
    window::CompareWindow *compare = driver.calculator().Compare();
    QVERIFY(compare && compare->isVisible());
    QCOMPARE(compare->Files()->Path(), path);
    QCOMPARE(Rolls(*compare), QStringList { QStringLiteral("1d8") });
    QVERIFY(Settled(*compare));
    driver.VerifyNoMessages();
    // The calculator's window, closing, asks for the changed set as well.
    compare->RollEdit(0)->setText(QStringLiteral("1d10"));
    QVERIFY(!driver.form().Window()->close());
    QCOMPARE(driver.watcher().Take().size() + m_watcher->Take().size(), 1);
    QVERIFY(Settled(*compare));
}

QTEST_MAIN(CompareFilesTest)
#include "window_compare_files_test.moc"
