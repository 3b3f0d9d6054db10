#include "ChipButton.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>

namespace {

constexpr int chipHeight = 26;
constexpr qreal cornerRadius = 7;

} // namespace

ChipButton::ChipButton(const QString &text, bool selected, QWidget *parent) : StyledButton(parent), m_selected(selected)
{
    setText(text);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(chipHeight);
}

void ChipButton::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

QSize ChipButton::sizeHint() const
{
    return {StyledButton::sizeHint().width(), chipHeight};
}

QFont ChipButton::labelFont() const
{
    return Fonts::system(12, QFont::DemiBold, Fonts::Design::rounded);
}

void ChipButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor fill = m_selected ? Theme::accent.resolved(this) : Theme::well.resolved(this, isDown() ? 1.0 : 0.7);
    RoundedShape::fill(painter, rect(), cornerRadius, fill);
    const QColor label = (m_selected ? Theme::accentInk : Theme::ink).resolved(this);
    paintLabel(painter, rect(), label);
    FocusRing::paint(painter, this, rect(), cornerRadius, label);
}
