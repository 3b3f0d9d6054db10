#pragma once

#include <QProxyStyle>

// The application's widget style: Fusion, the same on every desktop, with the edges of its stock
// controls (check boxes, pop-up buttons, spin boxes, text fields, tabs) in the theme's control edge.
// Fusion draws those edges in the window colour darkened, which all but vanishes on a dark window;
// the theme's edge reads at 3:1 or more on every ground of either appearance. Menu bars and menus,
// which windows do not pass their colours on to, take the theme's colours too. A tool button whose
// face opens a menu (the calendar's month) keeps a space between its text and the menu's arrow.
class PaperStyle : public QProxyStyle {
    Q_OBJECT
public:
    PaperStyle();

    // Makes it the application's style; once a QApplication exists.
    static void install();

    void polish(QWidget *widget) override;
    using QProxyStyle::polish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;
};
