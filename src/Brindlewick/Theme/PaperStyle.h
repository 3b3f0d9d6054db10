#pragma once

#include <QProxyStyle>

// The application's widget style: the desktop's default, with check boxes drawn on the theme's
// colours. The default style derives a check box's edge from the window colour, which all but
// vanishes on a dark ground; here the edge reads at 3:1 or more on every ground of the theme.
class PaperStyle : public QProxyStyle {
    Q_OBJECT
public:
    PaperStyle();

    // Makes it the application's style; once a QApplication exists.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    static void drawCheckBox(const QStyleOption &option, QPainter &painter, const QWidget *widget);
};
