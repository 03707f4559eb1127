#pragma once

// What the screenshot tools share: a dark palette, and keys pressed on a plot.

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

#include <string>

// A dark palette on the Fusion style, for looking at the windows as a dark
// desktop shows them.

inline void UseDarkPalette()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 58));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(80, 140, 230));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    QApplication::setPalette(dark);
}

// Presses a key on the plot for each letter: r(ight), l(eft), h(ome), e(nd).
inline void PressKeys(QWidget *plot, const std::string &keys)
{
    for (const char key : keys) {
        const Qt::Key code = key == 'l' ? Qt::Key_Left
            : key == 'h'                ? Qt::Key_Home
            : key == 'e'                ? Qt::Key_End
                                        : Qt::Key_Right;
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(plot, &press);
    }
}
