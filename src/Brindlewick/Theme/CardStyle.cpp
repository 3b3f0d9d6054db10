#include "CardStyle.h"

#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr qreal cornerRadius = 12;

} // namespace

CardStyle::CardStyle(qreal padding, QWidget *parent)
    : QWidget(parent), m_padding(padding), m_layout(new QVBoxLayout(this))
{
    const int margin = qRound(padding);
    m_layout->setContentsMargins(margin, margin, margin, margin);
    m_layout->setSpacing(0);
}

void CardStyle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), cornerRadius, Theme::card.resolved(this));
    RoundedShape::strokeInside(painter, rect(), cornerRadius, Theme::hairline.resolved(this), 1);
}

CardStyle *card(QWidget *content, qreal padding)
{
    auto *wrapper = new CardStyle(padding, content->parentWidget());
    wrapper->contentLayout()->addWidget(content);
    return wrapper;
}
