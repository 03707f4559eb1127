#pragma once

// The File menu of the Compare window: a set of rolls opened from a .rolls
// file, saved to one whole or not at all, the files opened last, and the set
// printed or exported as PDF. The title names the file and marks it while
// the set shown differs from the set saved; closing or replacing such a set
// asks first. A window with no file keeps its set between runs as before.

#include "compare/roll_set.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace window
{

class CompareWindow;

class CompareFiles : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(window::CompareFiles)

public:
    static constexpr int kMostRecent = 8;

    // Puts the menu bar on the window.
    explicit CompareFiles(CompareWindow &window);

    QMenuBar *Bar() const;
    QAction *NewItem() const;
    QAction *OpenItem() const;
    QAction *SaveItem() const;
    QAction *SaveAsItem() const;
    QMenu *RecentMenu() const;
    QAction *PrintItem() const;
    QAction *ExportPdfItem() const;

    // The file shown; empty for none.
    QString Path() const;
    // Whether the set shown differs from its file's.
    bool Modified() const;
    // The files opened or saved last, the latest first, those gone left out.
    QStringList Recent();

    // Starts a set of one empty roll with no file, asking first where the set
    // shown would be lost.
    void New();
    // Asks for a file and opens it.
    void Open();
    // Shows the set in the file. A file that cannot be read is said why in a
    // message box and changes nothing. False then.
    bool OpenFile(const QString &path);
    bool Save();
    bool SaveAs();
    // Writes the set to path whole, or says why not and leaves any file there
    // as it was. True when saved.
    bool SaveTo(const QString &path);
    // Asks whether a set that differs from its file's may go: saving it, or
    // not, or keeping it. False when it stays.
    bool MayDiscard();
    void Print();
    void ExportPdf();
    // Writes the tables and the plot as PDF, or says why not. True when written.
    bool ExportPdfTo(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Edited();
    // Save, Discard or Cancel.
    QMessageBox::StandardButton AskToSave(const QString &title, const QString &question);
    void ShowTitle();
    void Remember(const QString &path);
    void FillRecent();
    // Why the text cannot be shown, in the window's language.
    static QString Why(const compare::RollSetError &error);

    CompareWindow &m_window;
    QMenuBar *m_bar;
    QAction *m_new;
    QAction *m_open;
    QAction *m_save;
    QAction *m_saveAs;
    QMenu *m_recent;
    QAction *m_print;
    QAction *m_pdf;
    QString m_path;
    // The set as last opened or saved, to tell whether it changed since.
    std::optional<compare::RollSet> m_saved;
    // The file's own comments at its head, kept through a save.
    std::vector<std::string> m_heading;
};

} // namespace window
