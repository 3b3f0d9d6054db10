#include "FilterRow.h"

#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/ReturnPress.h"
#include "Theme/RoundedShape.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>

namespace {

constexpr int rowHeight = 30;
constexpr qreal padding = 10;
constexpr qreal symbolFrame = 18;
constexpr qreal spacing = 9;
constexpr qreal cornerRadius = 8;

QFont symbolFont()
{
    static const QFont font = Fonts::system(12, QFont::DemiBold);
    return font;
}

} // namespace

FilterRow::FilterRow(NoteFilter filter, QWidget *parent) : QAbstractButton(parent), m_filter(filter)
{
    setCheckable(true);
    setText(title(filter));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    updateAccessibleName();
}

QString FilterRow::symbol(NoteFilter filter)
{
    switch (filter) {
    case NoteFilter::all: return QStringLiteral("square.grid.2x2");
    case NoteFilter::pinned: return QStringLiteral("pin");
    case NoteFilter::timers: return QStringLiteral("timer");
    case NoteFilter::today: return QStringLiteral("flag");
    case NoteFilter::overdue: return QStringLiteral("exclamationmark.circle");
    case NoteFilter::tucked: return QStringLiteral("arrow.up.to.line");
    case NoteFilter::done: return QStringLiteral("checkmark.circle");
    case NoteFilter::deleted: return QStringLiteral("trash");
    }
    return {};
}

void FilterRow::setState(int count, bool selected)
{
    if (count == m_count && selected == isChecked())
        return;
    m_count = count;
    setChecked(selected);
    updateAccessibleName();
    update();
}

Color FilterRow::symbolColor() const
{
    if (m_filter == NoteFilter::overdue && m_count > 0)
        return Theme::alarm;
    return isChecked() ? Theme::accent : Theme::ink2;
}

Color FilterRow::countColor() const
{
    return m_filter == NoteFilter::overdue ? Theme::alarm : Theme::ink3;
}

QSize FilterRow::sizeHint() const
{
    const qreal titleWidth = QFontMetricsF(Fonts::bodyMedium()).horizontalAdvance(text());
    return QSize(qCeil(2 * padding + symbolFrame + spacing + titleWidth), rowHeight);
}

void FilterRow::keyPressEvent(QKeyEvent *event)
{
    if (!ReturnPress::clicks(*this, *event))
        QAbstractButton::keyPressEvent(event);
}

void FilterRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF band = rect();
    if (isChecked()) {
        RoundedShape::fill(painter, band, cornerRadius, Theme::card.resolved(this));
        RoundedShape::strokeInside(painter, band, cornerRadius, Theme::hairline.resolved(this), 1);
    }
    const QRectF content = band.adjusted(padding, 0, -padding, 0);
    Symbols::draw(painter, QRectF(content.left(), 0, symbolFrame, height()), symbol(m_filter),
                  Fonts::points(symbolFont()), symbolColor().resolved(this));

    qreal right = content.right();
    if (m_count > 0) {
        const QString number = QLocale().toString(m_count);
        const qreal width = QFontMetricsF(Fonts::number()).horizontalAdvance(number);
        painter.setFont(Fonts::number());
        painter.setPen(countColor().resolved(this));
        painter.drawText(QRectF(right - width, 0, width + 1, height()), Qt::AlignRight | Qt::AlignVCenter, number);
        right -= width + spacing;
    }
    const qreal titleLeft = content.left() + symbolFrame + spacing;
    painter.setFont(Fonts::bodyMedium());
    painter.setPen(Theme::ink.resolved(this));
    const QString shown =
        QFontMetricsF(Fonts::bodyMedium()).elidedText(text(), Qt::ElideRight, std::max(0.0, right - titleLeft));
    painter.drawText(QRectF(titleLeft, 0, right - titleLeft, height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
    FocusRing::paint(painter, this, band, cornerRadius, Theme::ink.resolved(this));
}

void FilterRow::updateAccessibleName()
{
    setAccessibleName(tr("%1, %2").arg(text()).arg(m_count));
}
