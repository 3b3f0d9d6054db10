#include "NoteFan.h"

#include "Theme/DropShadow.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/RoundedShape.h"
#include "Theme/TimeTape.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal padding = 10;
constexpr qreal spacing = 8;
constexpr qreal tapeWidth = 110;
constexpr qreal tapeHeight = 20;
constexpr qreal tapeTilt = -1.5;
constexpr qreal lineHeight = 5;
constexpr qreal lineSpacing = 5;
// Offsets of the outer cards: sideways by a card, down by 10, tilted 6 degrees.
constexpr qreal spread = 150;
constexpr qreal drop = 10;
constexpr qreal tilt = 6;

Countdown countdown(Countdown::Kind kind, double remaining, double fraction, Urgency urgency)
{
    return Countdown{kind, remaining, fraction, urgency};
}

QFont textFont()
{
    return Fonts::system(14, QFont::DemiBold, Fonts::Design::rounded);
}

} // namespace

NoteFan::NoteFan(QWidget *parent) : NoteFan(defaultItems(), parent) {}

NoteFan::NoteFan(QList<Item> items, QWidget *parent) : QWidget(parent), m_items(std::move(items))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

QList<NoteFan::Item> NoteFan::defaultItems()
{
    return {
        {NoteColor::sky, QStringLiteral("Write the post"),
         countdown(Countdown::Kind::timer(NoteTimer::State::running), 1080, 0.72, Urgency::calm)},
        {NoteColor::lemon, QStringLiteral("Send the invoice"), countdown(Countdown::Kind::deadline(), 2400, 0.18, Urgency::urgent)},
        {NoteColor::rose, QStringLiteral("Call Tamsin back"), countdown(Countdown::Kind::deadline(), -720, 0, Urgency::over)},
    };
}

QSize NoteFan::sizeHint() const
{
    return QSize(int(cardSize), int(cardSize));
}

QRectF NoteFan::cardRect(int index) const
{
    const qreal k = index - 1;
    const QPointF centre = QRectF(rect()).center() + QPointF(spread * k, drop * std::abs(k));
    return QRectF(centre - QPointF(cardSize / 2, cardSize / 2), QSizeF(cardSize, cardSize));
}

qreal NoteFan::cardAngle(int index) const
{
    return tilt * (index - 1);
}

void NoteFan::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < m_items.size(); ++i) {
        const QRectF card = cardRect(i);
        painter.save();
        painter.translate(card.center());
        painter.rotate(cardAngle(i));
        painter.translate(-cardSize / 2, -cardSize / 2);
        paintCard(painter, m_items[i]);
        painter.restore();
    }
}

// One card in its own coordinates, (0, 0) to (150, 150).
void NoteFan::paintCard(QPainter &painter, const Item &item) const
{
    const QRectF paper(0, 0, cardSize, cardSize);
    DropShadow::paint(painter, paper, 6, QPointF(0, 3), QColor(0, 0, 0, qRound(255 * 0.12)),
                      [&](QPainter &layer) { PaperBackground::paint(layer, paper, item.paper, false, this); });
    PaperBackground::paint(painter, paper, item.paper, false, this);

    const QRectF inner = paper.adjusted(padding, padding, -padding, -padding);
    const Scheme scheme = Appearance::scheme(this);
    const QRectF tape(inner.center().x() - tapeWidth / 2, inner.top(), tapeWidth, tapeHeight);
    painter.save();
    painter.translate(tape.center());
    painter.rotate(tapeTilt);
    TimeTape::paint(painter, tape.translated(-tape.center()), item.countdown, item.paper, true, scheme);
    painter.restore();

    const QColor ink = Paper::ink(item.paper).resolved(scheme);
    painter.setFont(textFont());
    painter.setPen(ink);
    const QRectF textArea(inner.left(), tape.bottom() + spacing, inner.width(), inner.bottom() - tape.bottom() - spacing);
    QRectF textRect;
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, item.text, &textRect);

    const QColor line = Paper::ink(item.paper).resolved(scheme, 0.18);
    qreal y = textRect.bottom() + spacing;
    for (int j = 0; j < 3; ++j) {
        const QRectF bar(inner.left(), y, tapeWidth - 22 * j, lineHeight);
        RoundedShape::fill(painter, bar, RoundedShape::capsule(bar), line);
        y += lineHeight + lineSpacing;
    }
}
