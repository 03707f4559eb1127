#pragma once

// The calculator's one window. The user enters the number of dice, the sides
// and a modifier and presses Compute; the window then shows the probability of
// every total, the average throw, and for two totals picked in the threshold
// lists the odds of rolling at least, at most and between them. The handlers
// carry the names of the events they answer.
//
// The form tells what happened to its results and knows nothing of who
// listens: a table written, a range picked in the threshold lists, results
// cleared.

#include "rollstats/table.h"
#include "window/services.h"

#include <QCoreApplication>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace window
{

class frmMain : public Form
{
    Q_DECLARE_TR_FUNCTIONS(window::frmMain)

public:
    frmMain();

    void Form_Load();
    void Action_Click(std::int16_t Index);
    void cmbGreaterThan_Click();
    void cmbLessThan_Click();
    void cmbF_Click();
    void txtN_Change();
    void txtM_Change();
    void txtN_GotFocus();
    void txtM_GotFocus();

    TextBox Text2;
    Label Label5;
    Label Label1;
    TextBox txtN;
    Label Label2;
    ComboBox cmbF;
    Label Label4;
    TextBox txtM;
    Label Label3;
    Label lblAvg;
    Label Label10;
    ComboBox cmbGreaterThan;
    Label lblGreaterThan;
    Label Label9;
    ComboBox cmbLessThan;
    Label lblLessThan;
    Label Label8;
    Label lblBetween;
    std::array<CommandButton, 2> Action;

    // A table just written, shown in Text2; it stays as it is.
    std::function<void(std::shared_ptr<const rollstats::Table>)> TableWritten;
    // Both threshold lists picked: the lowest and highest item of the range
    // between them, whichever list holds which.
    std::function<void(std::size_t first, std::size_t last)> RangePicked;
    Event ResultsCleared;

private:
    void LayOut();
    void ConnectEvents();
    void Compute();
    void ShowUnexpectedError();
    void Reject(TextBox &box, const QString &prompt, const QString &title);
    void ShowProbability(Label &label, std::int16_t firstItem, std::int16_t lastItem);
    void UpdateBetween();
    // The caption of Label8 for a range picked in the threshold lists.
    static QString RangeSentence(const QString &lo, const QString &hi);
    void ClearResults();
    void SelectAllText(TextBox &box);

    // Last, so that it is gone before any control is.
    UnhandledErrorReporter m_errorReporter;
};

} // namespace window
