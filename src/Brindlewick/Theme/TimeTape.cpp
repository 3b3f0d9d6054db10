#include "TimeTape.h"

#include "DropShadow.h"
#include "Fonts.h"
#include "Hatch.h"
#include "Paper.h"
#include "Symbols.h"
#include "TapeShape.h"
#include "TurnedImage.h"

#include <QCache>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <limits>

namespace {

constexpr qreal labelPadding = 7;
constexpr qreal labelSpacing = 4;
constexpr qreal smallestTextScale = 0.6;
constexpr qreal shadowBlur = 0.8;
constexpr qreal shadowDrop = 0.6;

std::optional<Countdown::TextKey> textKey(const std::optional<Countdown> &countdown)
{
    return countdown ? std::optional(countdown->textKey()) : std::nullopt;
}

bool isFaint(const Countdown &countdown)
{
    return countdown.isReady() || countdown.isPaused();
}

// The label's colour where it lies over the fill.
QColor onTint(const Countdown &countdown, NoteColor paper, Scheme scheme)
{
    if (countdown.urgency == Urgency::over || scheme == Scheme::light || paper == NoteColor::graphite)
        return Qt::white;
    return QColor::fromRgb(0x15211F);
}

// The label's text shaped once, then drawn in both inks from the same glyphs: shaping is the costly
// part of a label, and a deadline's tape gets a new one each minute.
struct FittedText {
    QString text;
    QList<QGlyphRun> glyphs;
    qreal width = 0;
    qreal height = 0;
};

FittedText shaped(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return {text, {}, 0, 0};
    return {text, line.glyphRuns(), line.naturalTextWidth(), line.height()};
}

// Font sizes come in steps, so a size scaled to the room may still be a little too wide: each try
// is at least half a point smaller than the last.
FittedText fitText(const QString &text, qreal points, qreal room)
{
    qreal scale = 1;
    for (;;) {
        const QFont font = Fonts::unshaped(Fonts::system(points * scale, QFont::Bold, Fonts::Design::rounded, true));
        FittedText fitted = shaped(text, font);
        if (fitted.width <= room)
            return fitted;
        if (scale <= smallestTextScale) {
            fitted = shaped(QFontMetricsF(font).elidedText(text, Qt::ElideRight, room), font);
            fitted.width = std::min(room, fitted.width);
            return fitted;
        }
        scale = std::max(smallestTextScale, std::min(scale * room / fitted.width, scale - 0.5 / points));
    }
}

struct LabelLayout {
    QRectF symbolRect;
    qreal symbolPoints = 0;
    QRectF textRect;
    FittedText text;
};

// The symbol and the short text in one row centred across the tape; the text shrinks down to 0.6
// of its size to fit between the paddings, and is cut after that.
LabelLayout layoutLabel(const QRectF &rect, const Countdown &countdown)
{
    const qreal h = rect.height();
    LabelLayout label;
    label.symbolPoints = 0.42 * h;
    const qreal symbolWidth = Symbols::width(TimeTape::symbolName(countdown), label.symbolPoints);
    const qreal room = std::max(0.0, rect.width() - 2 * labelPadding - symbolWidth - labelSpacing);
    label.text = fitText(countdown.shortText(), 0.5 * h, room);
    const qreal rowWidth = symbolWidth + labelSpacing + label.text.width;
    const qreal left = rect.left() + (rect.width() - rowWidth) / 2;
    label.symbolRect = QRectF(left, rect.top(), symbolWidth, h);
    label.textRect = QRectF(left + symbolWidth + labelSpacing, rect.top(), label.text.width + 1, h);
    return label;
}

void drawLabel(QPainter &painter, const LabelLayout &label, const Countdown &countdown, const QColor &color)
{
    Symbols::draw(painter, label.symbolRect, TimeTape::symbolName(countdown), label.symbolPoints, color);
    // Where a single left-aligned line centred upright in the rectangle lies.
    const QPointF origin(label.textRect.left(),
                         label.textRect.top() + (label.textRect.height() - label.text.height) / 2);
    painter.setPen(color);
    for (const QGlyphRun &run : label.text.glyphs)
        painter.drawGlyphRun(origin, run);
}

// The track and the fill (hatched once over), without the label.
void paintBody(QPainter &painter, const QRectF &rect, const std::optional<Countdown> &countdown, NoteColor paper,
               Scheme scheme)
{
    const QPainterPath tape = TapeShape::path(rect);
    QColor track(Qt::white);
    track.setAlphaF(scheme == Scheme::dark ? 0.16f : 0.6f);
    painter.fillPath(tape, track);
    if (!countdown)
        return;

    const qreal w = rect.width(), h = rect.height();
    const Color ink = Paper::tapeInk(paper, countdown->urgency);
    if (countdown->urgency == Urgency::over) {
        painter.fillPath(tape, ink.resolved(scheme, 0.88));
        painter.save();
        painter.setClipPath(tape, Qt::IntersectClip);
        QColor white(Qt::white);
        white.setAlphaF(0.22f);
        Hatch{white}.paint(painter, rect);
        painter.restore();
    } else if (isFaint(*countdown)) {
        painter.fillPath(tape, ink.resolved(scheme, 0.28));
    } else {
        const qreal fill = TimeTape::fillWidth(*countdown, w, h);
        const QPainterPath strip = TapeShape::path(QRectF(rect.topLeft(), QSizeF(fill, h)));
        painter.fillPath(strip.intersected(tape), ink.resolved(scheme, 0.88));
    }
}

// The body laid upright on the painter, turned or not. Translucent paths filled turned keep a pool of
// threads busy, so the body is filled upright at the painter's scale and turned as one image.
void layBody(QPainter &painter, const QRectF &rect, const std::optional<Countdown> &countdown, NoteColor paper,
             Scheme scheme)
{
    // A clear margin, so a tilted tape's edges come from smooth sampling.
    constexpr qreal margin = 2;
    const qreal scale = DropShadow::scaleOf(painter);
    const QSizeF size = rect.size() + QSizeF(2 * margin, 2 * margin);
    QImage body(QSize(qCeil(size.width() * scale), qCeil(size.height() * scale)), QImage::Format_ARGB32_Premultiplied);
    body.setDevicePixelRatio(scale);
    body.fill(Qt::transparent);
    QPainter layer(&body);
    layer.setRenderHint(QPainter::Antialiasing);
    paintBody(layer, QRectF(QPointF(margin, margin), rect.size()), countdown, paper, scheme);
    layer.end();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect.topLeft() - QPointF(margin, margin), body);
    painter.restore();
}

// The body as the painter shows it, made once per look and kept: filling its paths is the costly
// part of a tape, while a deadline's label changes far more often than its fill.
TurnedImage::Image turnedBody(const QPainter &painter, const QString &placement, const QRectF &rect,
                              const std::optional<Countdown> &countdown, NoteColor paper, Scheme scheme)
{
    static QCache<QString, TurnedImage::Image> made(2048);
    const qreal scale = DropShadow::scaleOf(painter);
    const auto state = countdown ? countdown->kind.timerState() : std::nullopt;
    const int fill = countdown ? qFloor(TimeTape::fillWidth(*countdown, rect.width(), rect.height()) * scale) : 0;
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 ")
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(int(paper))
                            .arg(int(scheme))
                            .arg(countdown ? int(countdown->urgency) : -1)
                            .arg(state ? int(*state) : (countdown ? -1 : -2))
                            .arg(fill)
                        + placement;
    if (const TurnedImage::Image *body = made.object(key))
        return *body;
    const TurnedImage::Image body =
        TurnedImage::make(painter, rect, 2, [&](QPainter &layer) { layBody(layer, rect, countdown, paper, scheme); });
    made.insert(key, new TurnedImage::Image(body), qMax(1, int(body.pixels.sizeInBytes() / 1024)));
    return body;
}

// Track, fill and label, without the shadow.
void paintTape(QPainter &painter, const QRectF &rect, const TurnedImage::Image &body,
               const std::optional<Countdown> &countdown, NoteColor paper, bool showsText, Scheme scheme)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    TurnedImage::draw(painter, body);
    if (countdown && showsText) {
        const qreal fill = TimeTape::fillWidth(*countdown, rect.width(), rect.height());
        const LabelLayout label = layoutLabel(rect, *countdown);
        drawLabel(painter, label, *countdown, Paper::ink(paper).resolved(scheme));
        if (!isFaint(*countdown)) {
            painter.setClipRect(QRectF(rect.topLeft(), QSizeF(fill, rect.height())), Qt::IntersectClip);
            drawLabel(painter, label, *countdown, onTint(*countdown, paper, scheme));
        }
    }
    painter.restore();
}

// What the tape's shadow depends on: the body's silhouette, not the label, whose strokes would barely
// show through the blur and would make a new shadow each time a deadline's minutes step.
QString shadowKey(const QRectF &rect, qreal scale, const std::optional<Countdown> &countdown, NoteColor paper,
                  Scheme scheme)
{
    QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                      .arg(rect.x())
                      .arg(rect.y())
                      .arg(rect.width())
                      .arg(rect.height())
                      .arg(scale)
                      .arg(int(paper))
                      .arg(int(scheme));
    if (countdown) {
        const auto state = countdown->kind.timerState();
        key += QStringLiteral(" %1 %2 %3")
                   .arg(state ? int(*state) : -1)
                   .arg(int(countdown->urgency))
                   .arg(qFloor(TimeTape::fillWidth(*countdown, rect.width(), rect.height()) * scale));
    }
    return key;
}

// The body's silhouette in black, blurred and dropped a little below it. Blurring is costly, and
// many tapes show the same thing, so shadows are kept for reuse.
TurnedImage::Image turnedShadow(const QPainter &painter, const QString &placement, const QRectF &rect,
                                const TurnedImage::Image &body, const std::optional<Countdown> &countdown,
                                NoteColor paper, Scheme scheme)
{
    static QCache<QString, TurnedImage::Image> made(4096);
    const qreal scale = DropShadow::scaleOf(painter);
    const QString key = shadowKey(rect, scale, countdown, paper, scheme) + QLatin1Char(' ') + placement;
    if (const TurnedImage::Image *shadow = made.object(key))
        return *shadow;
    const QTransform device = painter.deviceTransform();
    const QPointF drop = device.map(QPointF(0, shadowDrop)) - device.map(QPointF(0, 0));
    const TurnedImage::Image shadow = DropShadow::ofTurned(body, shadowBlur * scale, drop.toPoint());
    made.insert(key, new TurnedImage::Image(shadow), qMax(1, int(shadow.pixels.sizeInBytes() / 1024)));
    return shadow;
}

} // namespace

TimeTape::TimeTape(std::optional<Countdown> countdown, NoteColor paper, qreal height, bool showsText, QWidget *parent)
    : QWidget(parent), m_countdown(std::move(countdown)), m_paper(paper), m_height(height), m_showsText(showsText)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(qCeil(height));
    updateAccessibleName();
}

void TimeTape::setCountdown(std::optional<Countdown> countdown)
{
    if (countdown == m_countdown)
        return;
    const bool reads = textKey(countdown) != textKey(m_countdown);
    m_countdown = std::move(countdown);
    if (reads)
        updateAccessibleName();
    updateFace();
}

void TimeTape::setPaper(NoteColor paper)
{
    if (paper == m_paper)
        return;
    m_paper = paper;
    update();
}

TimeTape::Face TimeTape::face(const std::optional<Countdown> &countdown, const QSizeF &size, qreal pixelRatio)
{
    if (!countdown)
        return {};
    const qreal fill = fillWidth(*countdown, size.width(), size.height());
    return {countdown->textKey(), countdown->urgency, qFloor(fill * pixelRatio)};
}

QRectF TimeTape::tapeArea() const
{
    return QRectF(0, 0, width(), m_height);
}

void TimeTape::updateFace()
{
    const Face shown = face(m_countdown, tapeArea().size(), m_paintedRatio);
    if (shown == m_face)
        return;
    m_face = shown;
    update();
}

QSize TimeTape::sizeHint() const
{
    return {qCeil(m_height * 6), qCeil(m_height)};
}

void TimeTape::updateAccessibleName()
{
    const QString name = m_countdown ? m_countdown->spokenText() : tr("No timer or deadline");
    if (name != accessibleName())
        setAccessibleName(name);
}

void TimeTape::paint(QPainter &painter, const QRectF &rect, const std::optional<Countdown> &countdown, NoteColor paper,
                     bool showsText, Scheme scheme, qreal degrees)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.translate(rect.center());
    painter.rotate(degrees);
    painter.translate(-rect.center());
    const QString placement = TurnedImage::placementKey(painter);
    const TurnedImage::Image body = turnedBody(painter, placement, rect, countdown, paper, scheme);
    painter.save();
    painter.setOpacity(painter.opacity() * (scheme == Scheme::dark ? 0.35 : 0.1));
    TurnedImage::draw(painter, turnedShadow(painter, placement, rect, body, countdown, paper, scheme));
    painter.restore();
    paintTape(painter, rect, body, countdown, paper, showsText, scheme);
    painter.restore();
}

QString TimeTape::labelText(const Countdown &countdown, const QSizeF &size)
{
    return layoutLabel(QRectF(QPointF(0, 0), size), countdown).text.text;
}

qreal TimeTape::fillWidth(const Countdown &countdown, qreal width, qreal height)
{
    if (countdown.urgency == Urgency::over)
        return width;
    return std::max(0.6 * height, width * countdown.fraction);
}

double TimeTape::fillSteadyFor() const
{
    if (!m_countdown)
        return std::numeric_limits<double>::infinity();
    const QSizeF size = tapeArea().size();
    // A deadline's fill held at its shortest moves no more until it is over, which its text tells.
    if (!m_countdown->isTimer() && size.width() * m_countdown->fraction <= 0.6 * size.height())
        return std::numeric_limits<double>::infinity();
    return m_countdown->fillSteadyFor(size.width() * m_paintedRatio);
}

QString TimeTape::symbolName(const Countdown &countdown)
{
    if (const auto state = countdown.kind.timerState()) {
        switch (*state) {
        case NoteTimer::State::paused: return QStringLiteral("pause.fill");
        case NoteTimer::State::finished: return QStringLiteral("bell.fill");
        case NoteTimer::State::ready:
        case NoteTimer::State::running: return QStringLiteral("timer");
        }
    }
    return countdown.urgency == Urgency::over ? QStringLiteral("exclamationmark") : QStringLiteral("flag.fill");
}

void TimeTape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, tapeArea(), m_countdown, m_paper, m_showsText, Appearance::scheme(this), tilt());
    painter.end();
    // Asking for the ratio walks up to the screen, too slow for every tick: the last paint's is kept,
    // and a move to a screen of another ratio repaints anyway.
    m_paintedRatio = devicePixelRatioF();
    m_face = face(m_countdown, tapeArea().size(), m_paintedRatio);
}
