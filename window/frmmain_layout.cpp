// Where the controls of the window go. Positions are in twips as the window
// was drawn, with an 8-point font at 15 twips to the pixel. The whole window
// is scaled by one factor, the smallest that gives every control the room its
// widest text needs in the font in use, so nothing is cut off and nothing
// moves out of line with the rest.

#include "window/frmmain.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>
#include <vector>

namespace window
{

namespace
{

constexpr double kTwipsPerPixel = 15.0;
// A wrapping label that needs more lines than its height holds grows the
// window by this factor at a time until its text fits.
constexpr double kWrapScaleStep = 1.01;

enum class Fit { OneLine, Wrapped, Table };

struct Placement {
    QWidget *widget;
    const char *name;
    int left, top, width, height;
    // The widest text a control shows, measured in place of its caption.
    QString widest = QString();
    Fit fit = Fit::OneLine;
};

QSize Needed(const Placement &place)
{
    if (auto *box = qobject_cast<QLineEdit *>(place.widget)) {
        // A line edit asks for room for 17 x's; it needs room for its widest text.
        const QFontMetrics metrics = box->fontMetrics();
        const QSize hint = box->sizeHint();
        const int text = metrics.horizontalAdvance(place.widest);
        return { hint.width() - 17 * metrics.horizontalAdvance(QLatin1Char('x')) + text, hint.height() };
    }
    if (auto *list = qobject_cast<QComboBox *>(place.widget)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QSize text(list->fontMetrics().horizontalAdvance(place.widest), list->fontMetrics().height());
        return list->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, list);
    }
    auto *label = qobject_cast<QLabel *>(place.widget);
    if (!label || place.widest.isEmpty())
        return place.widget->sizeHint();
    const QString caption = label->text();
    label->setText(place.widest);
    const QSize size = label->sizeHint();
    label->setText(caption);
    return size;
}

// The scale at which the control's widest text fits on one line.
double ScaleForOneLine(const Placement &place)
{
    const QSize needed = Needed(place);
    return std::max(needed.width() * kTwipsPerPixel / place.width, needed.height() * kTwipsPerPixel / place.height);
}

// The scale at which a wrapping label's widest text fits in its height.
double ScaleForWrapped(const Placement &place, double scale)
{
    auto *label = qobject_cast<QLabel *>(place.widget);
    const QString caption = label->text();
    label->setText(place.widest);
    while (label->heightForWidth(static_cast<int>(place.width * scale / kTwipsPerPixel))
        > place.height * scale / kTwipsPerPixel)
        scale *= kWrapScaleStep;
    label->setText(caption);
    return scale;
}

// The scale at which the longest line of the probability table fits beside
// the scroll bar.
double ScaleForTable(const Placement &place, QPlainTextEdit *table)
{
    const int line = table->fontMetrics().horizontalAdvance(QStringLiteral("P(-32767) = 50.000000000%"));
    const int chrome = table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth()
        + 2 * static_cast<int>(std::ceil(table->document()->documentMargin())) + table->cursorWidth();
    return (line + chrome) * kTwipsPerPixel / place.width;
}

class TwipScale
{
public:
    explicit TwipScale(double pixelsPerTwip)
        : m_scale(pixelsPerTwip)
    {
    }

    int operator()(int twips) const
    {
        return static_cast<int>(std::lround(twips * m_scale));
    }

    void Place(const Placement &p) const
    {
        p.widget->setObjectName(QString::fromLatin1(p.name));
        const auto &at = *this;
        p.widget->setGeometry(
            at(p.left), at(p.top), at(p.left + p.width) - at(p.left), at(p.top + p.height) - at(p.top));
    }

private:
    double m_scale;
};

void ShowAsResult(Label &label)
{
    QLabel *widget = label.Widget();
    widget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    widget->setIndent(2);
    widget->setAutoFillBackground(true);
    widget->setBackgroundRole(QPalette::Base);
    widget->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Selecting text for copying must leave the focus where the user was;
    // labels take no focus.
    widget->setFocusPolicy(Qt::NoFocus);
}

void WrapTopAligned(Label &label)
{
    label.Widget()->setWordWrap(true);
    label.Widget()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

void frmMain::LayOut()
{
    QWidget *form = Widget();
    form->setObjectName(QStringLiteral("frmMain"));
    Window()->setWindowTitle(QStringLiteral("Pipwright"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/pipwright-16.png"));
    icon.addFile(QStringLiteral(":/icons/pipwright-32.png"));
    Window()->setWindowIcon(icon);

    // The results' widest texts: the lowest total there can be, an average
    // with five digits, a half and a sign, a certainty.
    const std::vector<Placement> design {
        { Text2.Widget(), "Text2", 240, 240, 3135, 3495, {}, Fit::Table },
        { Label5.Widget(), "Label5", 240, 3960, 3135, 495, Label5.Widget()->text(), Fit::Wrapped },
        { Label1.Widget(), "Label1", 3840, 315, 1335, 255 },
        { txtN.Widget(), "txtN", 5280, 240, 735, 375, QStringLiteral("-32768") },
        { Label2.Widget(), "Label2", 3840, 765, 1335, 255 },
        { cmbF.Widget(), "cmbF", 5280, 720, 735, 315, QStringLiteral("100") },
        { Label4.Widget(), "Label4", 3840, 1275, 1335, 255 },
        { txtM.Widget(), "txtM", 5280, 1200, 735, 375, QStringLiteral("-32768") },
        { Label3.Widget(), "Label3", 3840, 1755, 1335, 255 },
        { lblAvg.Widget(), "lblAvg", 5280, 1680, 735, 375, QStringLiteral("-32766.5") },
        { Label10.Widget(), "Label10", 3600, 2280, 615, 375 },
        { cmbGreaterThan.Widget(), "cmbGreaterThan", 4320, 2280, 855, 315, QStringLiteral("-32767") },
        { lblGreaterThan.Widget(), "lblGreaterThan", 5280, 2250, 735, 375, QStringLiteral("100.0%") },
        { Label9.Widget(), "Label9", 3600, 2760, 615, 375 },
        { cmbLessThan.Widget(), "cmbLessThan", 4320, 2760, 855, 315, QStringLiteral("-32767") },
        { lblLessThan.Widget(), "lblLessThan", 5280, 2730, 735, 375, QStringLiteral("100.0%") },
        { Label8.Widget(),
            "Label8",
            3600,
            3240,
            1575,
            735,
            RangeSentence(QStringLiteral("-32767"), QStringLiteral("-32766")),
            Fit::Wrapped },
        { lblBetween.Widget(), "lblBetween", 5280, 3240, 735, 375, QStringLiteral("100.0%") },
        { Action[0].Widget(), "Action0", 3600, 4050, 1095, 375 },
        { Action[1].Widget(), "Action1", 4815, 4050, 1095, 375 },
    };

    for (Label *result : { &lblAvg, &lblGreaterThan, &lblLessThan, &lblBetween })
        ShowAsResult(*result);
    WrapTopAligned(Label5);
    WrapTopAligned(Label8);

    double scale = 1.0;
    for (const Placement &place : design) {
        if (place.fit == Fit::OneLine)
            scale = std::max(scale, ScaleForOneLine(place));
        else if (place.fit == Fit::Table)
            scale = std::max(scale, ScaleForTable(place, static_cast<QPlainTextEdit *>(place.widget)));
    }
    // Wrapping labels gain lines as they narrow, so they are fitted last.
    for (const Placement &place : design) {
        if (place.fit == Fit::Wrapped)
            scale = ScaleForWrapped(place, scale);
    }
    const TwipScale twips(scale / kTwipsPerPixel);
    form->setFixedSize(twips(6225), twips(4590));
    for (const Placement &place : design)
        twips.Place(place);

    // A screen reader names each field by the caption beside it.
    Label1.Widget()->setBuddy(txtN.Widget());
    Label2.Widget()->setBuddy(cmbF.Widget());
    Label4.Widget()->setBuddy(txtM.Widget());
    Label3.Widget()->setBuddy(lblAvg.Widget());
    Label10.Widget()->setBuddy(cmbGreaterThan.Widget());
    Label9.Widget()->setBuddy(cmbLessThan.Widget());
    Label8.Widget()->setBuddy(lblBetween.Widget());
    Text2.Widget()->setAccessibleName(tr("Probability of each total"));

    QWidget *tabOrder[] = { Action[0].Widget(),
        Action[1].Widget(),
        txtN.Widget(),
        Text2.Widget(),
        cmbF.Widget(),
        txtM.Widget(),
        cmbLessThan.Widget(),
        cmbGreaterThan.Widget() };
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Action[0].Widget()->setFocus();
}

} // namespace window
