#include "RestingTray.h"

#include "State/AppModel.h"
#include "Theme/Fonts.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include "NoteList.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

namespace {

constexpr qreal stripSpacing = 6;
constexpr qreal earSpacing = 5;
constexpr qreal dotSize = 6;
// A countdown too long for its ear shrinks down to this share of its size.
constexpr qreal smallestScale = 0.6;

QColor foreground()
{
    QColor white(Qt::white);
    white.setAlphaF(0.9f);
    return white;
}

QFont stripFont()
{
    static const QFont font = Fonts::system(11, QFont::DemiBold, Fonts::Design::rounded);
    return font;
}

QString notesWord(int count)
{
    return count == 1 ? RestingTray::tr("note") : RestingTray::tr("notes");
}

qreal advance(const RestingTray::Segment &segment)
{
    return QFontMetricsF(segment.font).horizontalAdvance(segment.text);
}

qreal rowWidth(const QList<RestingTray::Segment> &segments, qreal spacing)
{
    qreal width = -spacing;
    for (const RestingTray::Segment &segment : segments)
        width += advance(segment) + spacing;
    return width;
}

// The segment's text cut short with "…" to fit `room`, never after a blank; empty when not even a
// character and "…" fit.
QString elided(const RestingTray::Segment &segment, qreal room)
{
    const QString cut = QFontMetricsF(segment.font).elidedText(segment.text, Qt::ElideRight, room);
    if (cut == segment.text)
        return cut;
    const QString kept = cut.chopped(1).trimmed();
    return kept.isEmpty() ? QString() : kept + QStringLiteral("…");
}

void paintRow(QPainter &painter, const QRectF &box, const QList<RestingTray::Segment> &segments, qreal spacing)
{
    qreal x = box.center().x() - rowWidth(segments, spacing) / 2;
    for (const RestingTray::Segment &segment : segments) {
        const qreal width = advance(segment);
        painter.setFont(segment.font);
        painter.setPen(segment.color);
        painter.drawText(QRectF(x, box.top(), width + 1, box.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         segment.text);
        x += width + spacing;
    }
}

} // namespace

RestingTray::RestingTray(AppModel &model, const TrayGeometry &geometry, QWidget *parent)
    : QWidget(parent), m_model(model), m_geometry(geometry)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&m_model, &AppModel::bookChanged, this, &RestingTray::refresh);
    connect(&m_model, &AppModel::nowChanged, this, &RestingTray::refresh);
    refresh();
}

int RestingTray::tuckedCount(const NoteBook &book)
{
    return int(std::count_if(book.notes.cbegin(), book.notes.cend(),
                             [](const StickyNote &note) { return note.tucked && note.isLive(); }));
}

void RestingTray::refresh()
{
    const int count = tuckedCount(m_model.book());
    const std::optional<NoteList::NoteCountdown> soonest = NoteList::soonest(m_model.book().notes, m_model.now(), true);
    const std::optional<Countdown> countdown = soonest ? std::optional(soonest->countdown) : std::nullopt;
    const auto shown = [](const std::optional<Countdown> &c) {
        return c ? std::pair(c->shortText(), int(c->urgency)) : std::pair(QString(), -1);
    };
    const bool changed = count != m_count || shown(countdown) != shown(m_countdown);
    m_count = count;
    m_countdown = countdown;
    const QString spoken = spokenLabel();
    if (spoken != accessibleName())
        setAccessibleName(spoken);
    if (changed)
        update();
}

QString RestingTray::spokenLabel() const
{
    if (m_count == 0)
        return tr("Brindlewick tray");
    QString label = QLocale().toString(m_count) + QLatin1Char(' ') + notesWord(m_count) + tr(" in the notch");
    if (m_countdown)
        label += QStringLiteral(", ") + m_countdown->spokenText();
    return label;
}

// Calm countdowns are white; the others take their urgency's colour.
QColor RestingTray::countdownColor() const
{
    if (!m_countdown || m_countdown->urgency == Urgency::calm)
        return foreground();
    return Theme::urgency(m_countdown->urgency).resolved(this);
}

void RestingTray::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_geometry.hasNotch)
        paintStrip(painter);
    else if (m_count > 0)
        paintEars(painter);
}

void RestingTray::paintEars(QPainter &painter) const
{
    const QRectF left(0, 0, TrayGeometry::ear, height());
    const QRectF right(width() - TrayGeometry::ear, 0, TrayGeometry::ear, height());
    paintRow(painter, left,
             {{Symbols::glyph(u"note.text"), Symbols::font(11), foreground()},
              {QString::number(m_count), Fonts::clock(), foreground()}},
             earSpacing);
    if (!m_countdown) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::accent.resolved(this));
        painter.drawEllipse(QRectF(right.center() - QPointF(dotSize / 2, dotSize / 2), QSizeF(dotSize, dotSize)));
        return;
    }
    QFont font = Fonts::clock();
    const QString text = m_countdown->shortText();
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural > right.width())
        font.setPointSizeF(font.pointSizeF() * std::max(smallestScale, right.width() / natural));
    painter.setFont(font);
    painter.setPen(countdownColor());
    painter.drawText(right, Qt::AlignCenter | Qt::TextSingleLine, text);
}

// The row fits between the capsule's round ends: a countdown too long for it is cut short with "…"
// (or left out, with its dot, when not a character of it fits), then the count; the icon stays whole.
QList<RestingTray::Segment> RestingTray::stripRow() const
{
    const qreal room = width() - height();
    const Segment icon{Symbols::glyph(u"note.text"), Symbols::font(10), foreground()};
    Segment label{m_count > 0 ? QLocale().toString(m_count) + QLatin1Char(' ') + notesWord(m_count)
                              : QStringLiteral("Brindlewick"),
                  stripFont(), foreground()};
    label.text = elided(label, room - advance(icon) - stripSpacing);
    QList<Segment> row{icon, label};
    if (!m_countdown)
        return row;
    QColor dim(Qt::white);
    dim.setAlphaF(0.45f);
    const Segment dot{QStringLiteral("·"), stripFont(), dim};
    Segment countdown{m_countdown->shortText(), Fonts::clock(), countdownColor()};
    countdown.text = elided(countdown, room - rowWidth(row + QList{dot}, stripSpacing) - stripSpacing);
    if (!countdown.text.isEmpty())
        row << dot << countdown;
    return row;
}

QString RestingTray::stripText() const
{
    QStringList texts;
    for (const Segment &segment : stripRow().mid(1))
        texts.append(segment.text);
    return texts.join(QLatin1Char(' '));
}

void RestingTray::paintStrip(QPainter &painter) const
{
    paintRow(painter, rect(), stripRow(), stripSpacing);
}
