#include "TrayButton.h"

#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/ReturnPress.h"
#include "Theme/RoundedShape.h"

#include <QKeyEvent>
#include <QPainter>

TrayButton::TrayButton(const QString &symbol, const QString &help, QWidget *parent) : StyledButton(parent)
{
    setSymbol(symbol);
    setHelp(help);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

QFont TrayButton::labelFont() const
{
    return Fonts::system(11.5, QFont::Bold);
}

void TrayButton::keyPressEvent(QKeyEvent *event)
{
    if (!ReturnPress::clicks(*this, *event))
        StyledButton::keyPressEvent(event);
}

void TrayButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF shape = rect();
    QColor backing(Qt::white);
    backing.setAlphaF(isDown() ? 0.25f : 0.12f);
    RoundedShape::fill(painter, shape, RoundedShape::capsule(shape), backing);
    QColor label(Qt::white);
    label.setAlphaF(0.85f);
    paintLabel(painter, shape, label);
    FocusRing::paint(painter, this, shape, RoundedShape::capsule(shape), label);
}
