#include "window/frmmain.h"

#include "numtext/parse.h"
#include "numtext/patterns.h"
#include "numtext/results.h"
#include "rollstats/outcomes.h"
#include "rollstats/rollstats.h"
#include "runtime/checked.h"

#include <array>
#include <exception>
#include <string>

namespace window
{

using namespace rollstats;
using runtime::Add;
using runtime::Narrow;

namespace
{

// A dice count that cannot be read as a whole number and one outside 1 to 20
// get the same message.
constexpr const char *kDiceRangeTitle = QT_TRANSLATE_NOOP("window::frmMain", "Number of Dice Too High!");
constexpr const char *kDiceRangePrompt = QT_TRANSLATE_NOOP("window::frmMain", "Please enter a different value. (1-20)");

constexpr std::array<std::string_view, 11> kSidesItems { "2", "3", "4", "5", "6", "8", "10", "12", "20", "30", "100" };
// The window opens with six-sided dice.
constexpr int kSixSidesItem = 4;
static_assert(kSidesItems[kSixSidesItem] == "6");

} // namespace

frmMain::frmMain()
    : Text2(Widget(), true)
    //: Numbers keep their decimal point in every language.
    , Label5(Widget(), tr("0.0% indicates probability less than  0.000000001%").toStdString())
    , Label1(Widget(), tr("Number of Dice").toStdString())
    , txtN(Widget(), false)
    , Label2(Widget(), tr("Number of Sides").toStdString())
    , cmbF(Widget())
    , Label4(Widget(), tr("Roll Modifier").toStdString())
    , txtM(Widget(), false)
    , Label3(Widget(), tr("Average Throw").toStdString())
    , lblAvg(Widget(), "")
    //: Beside a narrow list: no longer than the English, or the whole window grows.
    , Label10(Widget(), tr("Prob. >=").toStdString())
    , cmbGreaterThan(Widget())
    , lblGreaterThan(Widget(), "")
    , Label9(Widget(), tr("Prob. <=").toStdString())
    , cmbLessThan(Widget())
    , lblLessThan(Widget(), "")
    //: Shown until the first Compute replaces it with the range sentence.
    , Label8(Widget(), tr("Probability roll is  >= and <=").toStdString())
    , lblBetween(Widget(), "")
    , Action { CommandButton(Widget(), tr("Compute").toStdString()),
        CommandButton(Widget(), tr("Close").toStdString()) }
    , m_errorReporter([this] { ShowUnexpectedError(); })
{
    txtN.SetText("2");
    txtM.SetText("0");
    for (const std::string_view sides : kSidesItems)
        cmbF.AddItem(sides);
    LayOut();
    ConnectEvents();
}

void frmMain::ConnectEvents()
{
    Action[0].Click = [this] { Action_Click(0); };
    Action[1].Click = [this] { Action_Click(1); };
    cmbGreaterThan.Click = [this] { cmbGreaterThan_Click(); };
    cmbLessThan.Click = [this] { cmbLessThan_Click(); };
    cmbF.Click = [this] { cmbF_Click(); };
    txtN.Change = [this] { txtN_Change(); };
    txtM.Change = [this] { txtM_Change(); };
    txtN.GotFocus = [this] { txtN_GotFocus(); };
    txtM.GotFocus = [this] { txtM_GotFocus(); };
}

void frmMain::Form_Load()
{
    cmbF.SetListIndex(kSixSidesItem);
}

void frmMain::Action_Click(std::int16_t Index)
{
    try {
        if (Index >= 1)
            Hide();
        else
            Compute();
    } catch (const std::exception &) {
        ShowUnexpectedError();
    }
    SetMousePointer(vbDefault);
}

void frmMain::ShowUnexpectedError()
{
    MsgBox(tr("There was an unexpected error. Change values and try again.").toStdString(),
        vbCritical,
        tr("Unexpected Error!").toStdString());
}

void frmMain::Reject(TextBox &box, const QString &prompt, const QString &title)
{
    MsgBox(prompt.toStdString(), vbCritical, title.toStdString());
    box.SetFocus();
}

void frmMain::Compute()
{
    if (!numtext::IsNumeric(txtN.Text()))
        return Reject(txtN, tr("Please enter a numeric value."), tr("Non-numeric Number of Dice!"));
    if (!numtext::IsNumeric(txtM.Text()))
        return Reject(txtM, tr("Please enter a numeric value."), tr("Non-numeric Roll Modifier!"));
    std::int32_t Dice;
    try {
        Dice = numtext::ToInt32(txtN.Text());
    } catch (const std::exception &) {
        return Reject(txtN, tr(kDiceRangePrompt), tr(kDiceRangeTitle));
    }
    try {
        Modifier = numtext::ToInt16(txtM.Text());
    } catch (const std::exception &) {
        return Reject(txtM,
            //: The modifier's range; write the numbers so that they cannot be read as decimals.
            tr("Please enter a smaller value. (-32,768 to 32,767)"),
            tr("Modifier value to big or too small"));
    }
    Sides = numtext::ToInt16(cmbF.Text());
    if (Sides == 100 && Dice > 10) {
        const QString prompt = tr("Number of dice is limited to 10 for 100-sided rolls.")
            + QString::fromStdString(std::string(vbCrLf)) + tr("Please enter another a smaller value.");
        return Reject(txtN, prompt, tr("D100 Roll Limit!"));
    }
    if (Dice > 20 || Dice < 1)
        return Reject(txtN, tr(kDiceRangePrompt), tr(kDiceRangeTitle));

    SeedRollState();
    SetMousePointer(vbHourglass);
    BuildDistribution(Narrow<std::int16_t>(Dice));
    ComputeTotalOutcomes(Dice);

    Text2.SetText("");
    cmbGreaterThan.Clear();
    cmbLessThan.Clear();
    // The table is written in one piece: a text box redraws on every change.
    // Should a line fail, the lines before it still reach the box.
    std::string table;
    try {
        const std::int32_t Top = runtime::Mul<std::int32_t>(Sides, Dice);
        for (std::int32_t t = Dice; t <= Top; ++t) {
            const std::int32_t total = Add<std::int32_t>(t, Modifier);
            table += numtext::TableLine(total, OutcomesOfFaceTotal(t, Dice), TotalOutcomes);
            table += vbCrLf;
            cmbGreaterThan.AddItem(numtext::IntegerText(total));
            cmbLessThan.AddItem(numtext::IntegerText(total));
        }
    } catch (...) {
        Text2.SetText(table);
        throw;
    }
    Text2.SetText(table);
    if (TableWritten)
        TableWritten(std::make_shared<const Table>(TakeTable(Dice)));

    // Each selection runs that list's click handler before it returns.
    cmbGreaterThan.SetListIndex(0);
    cmbLessThan.SetListIndex(cmbLessThan.NewIndex());

    lblAvg.SetCaption(numtext::FormatPattern(AverageThrow(Dice, Sides, Modifier), "###0.0#"));
    lblAvg.SetToolTipText(lblAvg.Caption());
}

// The tooltip is set before the caption.
void frmMain::ShowProbability(Label &label, std::int16_t firstItem, std::int16_t lastItem)
{
    const double outcomes = OutcomesFromItemToItem(firstItem, lastItem);
    label.SetToolTipText(numtext::PercentToolTip(outcomes, TotalOutcomes));
    label.SetCaption(numtext::PercentCaption(outcomes, TotalOutcomes));
}

void frmMain::cmbGreaterThan_Click()
{
    ShowProbability(lblGreaterThan, Narrow<std::int16_t>(cmbGreaterThan.ListIndex()), LastItem());
    UpdateBetween();
}

void frmMain::cmbLessThan_Click()
{
    ShowProbability(lblLessThan, 0, Narrow<std::int16_t>(cmbLessThan.ListIndex()));
    UpdateBetween();
}

void frmMain::UpdateBetween()
{
    const auto a = Narrow<std::int16_t>(cmbLessThan.ListIndex());
    const auto b = Narrow<std::int16_t>(cmbGreaterThan.ListIndex());
    if (a < 0 || b < 0)
        return;
    const std::int16_t Lo = a < b ? a : b;
    const std::int16_t Hi = a < b ? b : a;
    Label8.SetCaption(
        RangeSentence(QString::fromStdString(cmbGreaterThan.List(Lo)), QString::fromStdString(cmbGreaterThan.List(Hi)))
            .toStdString());
    ShowProbability(lblBetween, Lo, Hi);
    if (RangePicked)
        RangePicked(static_cast<std::size_t>(Lo), static_cast<std::size_t>(Hi));
}

QString frmMain::RangeSentence(const QString &lo, const QString &hi)
{
    return tr("Probability roll is between %1 and %2.").arg(lo, hi);
}

void frmMain::cmbF_Click()
{
    if (numtext::ToDouble(cmbF.Text()) != Sides)
        ClearResults();
}

void frmMain::txtN_Change()
{
    ClearResults();
}

void frmMain::txtM_Change()
{
    ClearResults();
}

void frmMain::ClearResults()
{
    cmbGreaterThan.Clear();
    cmbLessThan.Clear();
    lblLessThan.SetCaption("");
    lblGreaterThan.SetCaption("");
    lblBetween.SetCaption("");
    lblAvg.SetCaption("");
    if (ResultsCleared)
        ResultsCleared();
}

void frmMain::txtN_GotFocus()
{
    SelectAllText(txtN);
}

void frmMain::txtM_GotFocus()
{
    SelectAllText(txtM);
}

void frmMain::SelectAllText(TextBox &box)
{
    box.SetSelStart(0);
    box.SetSelLength(Len(box.Text()));
}

} // namespace window
