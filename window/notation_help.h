#pragma once

// Help > Dice Notation: every form of the notation with a meaning and an
// example, narrowed by what is typed in its search box. Clicking an example,
// or Enter on its line, puts it into a roll box, and the dialog stays open
// for the next one. The forms and examples stay as the notation writes them
// in every language; their meanings are translated.

#include <QCoreApplication>
#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace window
{

class NotationHelp : public QDialog
{
    Q_DECLARE_TR_FUNCTIONS(window::NotationHelp)

public:
    explicit NotationHelp(QWidget *parent);

    // The box an example goes into, asked at each use; none takes it nowhere.
    std::function<QLineEdit *()> Target;

    QLineEdit *Search() const;
    QTableWidget *Forms() const;
    // What the last example did, or how to use one.
    QString Note() const;
    // Puts the example of a line of the table into the target box.
    void Use(int line);

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Narrow(const QString &typed);

    QLineEdit *m_search;
    QTableWidget *m_forms;
    QLabel *m_note;
};

// The one dialog of owner, made on first use, in front; examples go where
// target says.
NotationHelp &OpenNotationHelp(QWidget &owner, std::function<QLineEdit *()> target);

// "Dice Notation..." on F1.
QAction *NewNotationHelpAction(QObject *parent);

// A roll box's tooltip: three examples and where to find the rest.
QString RollBoxToolTip();

} // namespace window
