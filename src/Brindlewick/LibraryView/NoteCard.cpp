#include "NoteCard.h"
#include "NoteCardAccessible.h"

#include "Theme/TextBlock.h"

#include "State/AppModel.h"
#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/RoundedShape.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"
#include "Theme/TimeTape.h"

#include "TimeText.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr QSizeF tapeSize{118, 19};
constexpr qreal tapeTilt = -1.2;
constexpr qreal tapeTop = 6;
constexpr qreal sidePadding = 12;
constexpr qreal bottomPadding = 10;
constexpr qreal spacing = 6;
constexpr qreal labelSpacing = 4;
constexpr qreal ringRadius = 10;
constexpr qreal ringWidth = 2.5;
constexpr qreal ringOutset = 4;
constexpr qreal dimmed = 0.7;

QFont restFont()
{
    static const QFont font = Fonts::system(12.5, QFont::Normal, Fonts::Design::rounded);
    return font;
}

QFont badgeFont()
{
    static const QFont font = Fonts::system(10.5, QFont::DemiBold, Fonts::Design::rounded);
    return font;
}

qreal symbolWidth(const QString &symbol)
{
    return QFontMetricsF(Symbols::font(Fonts::points(badgeFont()))).horizontalAdvance(Symbols::glyph(symbol));
}

QString pinHelp()
{
    return NoteCard::tr("Floats above other windows");
}

QString tuckHelp()
{
    return NoteCard::tr("In the notch");
}

} // namespace

struct NoteCard::Layout {
    QRectF tape;
    QPointF titleOrigin;
    QList<TextBlock::Line> title;
    QPointF restOrigin;
    QList<TextBlock::Line> rest;
    QString badgeSymbol;
    QRectF badgeSymbolRect;
    QRectF badgeTextRect;
    QString badgeText;
    QRectF pinRect;
    QRectF tuckRect;
};

NoteCard::NoteCard(AppModel &model, const StickyNote &note, bool selected, QWidget *parent)
    : QWidget(parent), m_model(model), m_note(note), m_selected(selected)
{
    connect(&model, &AppModel::nowChanged, this, &NoteCard::followClock);
    connect(&model, &AppModel::ringingChanged, this, [this] {
        if (m_model.ringing().contains(m_note.id) != m_ringing) {
            m_ringing = !m_ringing;
            update();
        }
    });
    m_ringing = model.ringing().contains(note.id);
    m_clockFace = clockFace();
    updateAccessibleText();
    NoteCardAccessible::install();
}

NoteCard::ClockFace NoteCard::clockFace() const
{
    const std::optional<Countdown> shown = countdown();
    return {TimeTape::face(shown, tapeSize, devicePixelRatioF()), badgeText(), badgeIsOverdue()};
}

void NoteCard::followClock()
{
    const ClockFace face = clockFace();
    if (face == m_clockFace)
        return;
    m_clockFace = face;
    updateAccessibleText();
    update();
}

void NoteCard::setNote(const StickyNote &note, bool selected)
{
    if (note == m_note && selected == m_selected)
        return;
    m_note = note;
    if (selected != m_selected) {
        m_selected = selected;
        QAccessible::State change;
        change.selected = true;
        QAccessibleStateChangeEvent event(this, change);
        QAccessible::updateAccessibility(&event);
    }
    m_ringing = m_model.ringing().contains(note.id);
    m_clockFace = clockFace();
    updateAccessibleText();
    update();
}

void NoteCard::setFocusShown(bool shown)
{
    if (shown == m_focusShown)
        return;
    m_focusShown = shown;
    update();
}

void NoteCard::select()
{
    m_model.setSelection(m_note.id);
}

QSize NoteCard::sizeHint() const
{
    return QSize(186 + 2 * margin, cardHeight + 2 * margin);
}

QRect NoteCard::cardRect() const
{
    return rect().adjusted(margin, margin, -margin, -margin);
}

std::optional<Countdown> NoteCard::countdown() const
{
    return m_note.isLive() ? Countdowns::primary(m_note, m_model.now()) : std::nullopt;
}

QString NoteCard::badgeText() const
{
    if (m_note.deadline)
        return m_dueText.of(*m_note.deadline, m_model.now(), m_model.calendar());
    if (m_note.timer)
        return tr("%1 timer").arg(TimeText::span(m_note.timer->duration));
    return {};
}

bool NoteCard::badgeIsOverdue() const
{
    return m_note.isLive() && m_note.deadline && *m_note.deadline <= m_model.now();
}

qreal NoteCard::paperOpacity() const
{
    return m_note.isDone() || m_note.isDeleted() ? dimmed : 1.0;
}

QStringList NoteCard::titleLines() const
{
    QStringList lines;
    for (const TextBlock::Line &line : layout().title)
        lines.append(line.text);
    return lines;
}

QStringList NoteCard::restLines() const
{
    QStringList lines;
    for (const TextBlock::Line &line : layout().rest)
        lines.append(line.text);
    return lines;
}

NoteCard::Layout NoteCard::layout() const
{
    const QRectF card = cardRect();
    const qreal textWidth = card.width() - 2 * sidePadding;
    Layout layout;
    layout.tape = QRectF(QPointF(card.center().x() - tapeSize.width() / 2, card.top() + tapeTop), tapeSize);

    const qreal badgeHeight = QFontMetricsF(badgeFont()).height();
    const QRectF badgeRow(card.left() + sidePadding, card.bottom() + 1 - bottomPadding - badgeHeight, textWidth,
                          badgeHeight);

    layout.titleOrigin = QPointF(card.left() + sidePadding, layout.tape.bottom() + spacing);
    layout.title = TextBlock::lines(m_note.title(), Fonts::title(), textWidth, 2);
    layout.restOrigin = QPointF(layout.titleOrigin.x(), layout.titleOrigin.y() + TextBlock::height(layout.title) + spacing);
    const QString rest = m_note.rest();
    const int roomForRest = int((badgeRow.top() - spacing - layout.restOrigin.y()) / QFontMetricsF(restFont()).height());
    if (!rest.isEmpty() && roomForRest > 0)
        layout.rest = TextBlock::lines(rest, restFont(), textWidth, std::min(4, roomForRest));

    qreal right = badgeRow.right();
    auto placeIcon = [&](const QString &symbol) {
        const qreal width = symbolWidth(symbol);
        const QRectF place(right - width, badgeRow.top(), width, badgeRow.height());
        right -= width + spacing;
        return place;
    };
    if (m_note.tucked)
        layout.tuckRect = placeIcon(QStringLiteral("arrow.up.to.line"));
    if (m_note.pinned)
        layout.pinRect = placeIcon(QStringLiteral("pin.fill"));

    layout.badgeText = badgeText();
    if (!layout.badgeText.isEmpty()) {
        layout.badgeSymbol = m_note.deadline ? QStringLiteral("flag.fill") : QStringLiteral("timer");
        const qreal width = symbolWidth(layout.badgeSymbol);
        layout.badgeSymbolRect = QRectF(badgeRow.left(), badgeRow.top(), width, badgeRow.height());
        const qreal textLeft = layout.badgeSymbolRect.right() + labelSpacing;
        layout.badgeTextRect = QRectF(textLeft, badgeRow.top(), std::max(0.0, right - textLeft), badgeRow.height());
        layout.badgeText = QFontMetricsF(badgeFont()).elidedText(layout.badgeText, Qt::ElideRight,
                                                                 layout.badgeTextRect.width());
    }
    return layout;
}

void NoteCard::paintEvent(QPaintEvent *)
{
    const Layout laidOut = layout();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QColor shadow(Qt::black);
    for (int spread = 3; spread >= 1; --spread) {
        shadow.setAlphaF(0.08f / 3);
        RoundedShape::fill(painter, QRectF(cardRect()).adjusted(-spread + 1, -spread + 3, spread - 1, spread + 1),
                           7 + spread, shadow);
    }

    if (paperOpacity() < 1) {
        QImage layer(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(devicePixelRatioF());
        layer.fill(Qt::transparent);
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(painter.renderHints());
        paintPaper(layerPainter, laidOut);
        layerPainter.end();
        painter.save();
        painter.setOpacity(paperOpacity());
        painter.drawImage(QPointF(0, 0), layer);
        painter.restore();
    } else {
        paintPaper(painter, laidOut);
    }
    if (m_selected)
        paintSelectionRing(painter);
    if (m_focusShown) {
        FocusRing::paintRing(painter, cardRect(), PaperBackground::cornerRadius,
                             Paper::ink(m_note.color).resolved(this));
    }
}

void NoteCard::paintPaper(QPainter &painter, const Layout &layout) const
{
    PaperBackground::paint(painter, cardRect(), m_note.color, m_ringing, this);
    TimeTape::paint(painter, layout.tape, countdown(), m_note.color, true, Appearance::scheme(this), tapeTilt);

    const Color ink = Paper::ink(m_note.color);
    TextBlock::paint(painter, layout.titleOrigin, layout.title, Fonts::title(), ink.resolved(this));
    if (m_note.isDone()) {
        const QFontMetricsF metrics(Fonts::title());
        painter.save();
        painter.setPen(QPen(ink.resolved(this, 0.6), 1));
        for (const TextBlock::Line &line : layout.title) {
            const QRectF shown = line.rect.translated(layout.titleOrigin);
            const qreal y = shown.top() + metrics.ascent() - metrics.xHeight() / 2;
            painter.drawLine(QPointF(shown.left(), y), QPointF(shown.right(), y));
        }
        painter.restore();
    }
    TextBlock::paint(painter, layout.restOrigin, layout.rest, restFont(), ink.resolved(this, 0.78));
    paintBadges(painter, layout);
}

void NoteCard::paintBadges(QPainter &painter, const Layout &layout) const
{
    const qreal points = Fonts::points(badgeFont());
    const QColor faint = Paper::ink(m_note.color).resolved(this, 0.7);
    if (!layout.badgeText.isEmpty()) {
        const QColor color = badgeIsOverdue() ? Theme::alarm.resolved(this) : faint;
        Symbols::draw(painter, layout.badgeSymbolRect, layout.badgeSymbol, points, color);
        painter.setFont(badgeFont());
        painter.setPen(color);
        painter.drawText(layout.badgeTextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, layout.badgeText);
    }
    if (m_note.pinned)
        Symbols::draw(painter, layout.pinRect, u"pin.fill", points, faint);
    if (m_note.tucked)
        Symbols::draw(painter, layout.tuckRect, u"arrow.up.to.line", points, faint);
}

void NoteCard::paintSelectionRing(QPainter &painter) const
{
    const QRectF ring = QRectF(cardRect()).adjusted(-ringOutset, -ringOutset, ringOutset, ringOutset);
    RoundedShape::strokeInside(painter, ring, ringRadius, Theme::accent.resolved(this), ringWidth);
}

bool NoteCard::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const Layout laidOut = layout();
    if (m_note.pinned && laidOut.pinRect.contains(help->pos()))
        QToolTip::showText(help->globalPos(), pinHelp(), this);
    else if (m_note.tucked && laidOut.tuckRect.contains(help->pos()))
        QToolTip::showText(help->globalPos(), tuckHelp(), this);
    else
        QToolTip::hideText();
    return true;
}

void NoteCard::updateAccessibleText()
{
    QStringList parts{m_note.title()};
    if (!m_note.rest().isEmpty())
        parts.append(m_note.rest());
    if (const auto shown = countdown())
        parts.append(shown->spokenText());
    if (const QString badge = badgeText(); !badge.isEmpty())
        parts.append(badge);
    if (m_note.pinned)
        parts.append(pinHelp());
    if (m_note.tucked)
        parts.append(tuckHelp());
    setAccessibleName(parts.join(QStringLiteral(", ")));
}
