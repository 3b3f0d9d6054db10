#include "RestingTray.h"

#include "App/AppModel.h"
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

// A run of texts and symbols laid out on one line, centred in a box.
struct Segment {
    QString text;
    QFont font;
    QColor color;
};

void paintRow(QPainter &painter, const QRectF &box, const QList<Segment> &segments, qreal spacing)
{
    qreal width = -spacing;
    for (const Segment &segment : segments)
        width += QFontMetricsF(segment.font).horizontalAdvance(segment.text) + spacing;
    qreal x = box.center().x() - width / 2;
    for (const Segment &segment : segments) {
        const qreal advance = QFontMetricsF(segment.font).horizontalAdvance(segment.text);
        painter.setFont(segment.font);
        painter.setPen(segment.color);
        painter.drawText(QRectF(x, box.top(), advance + 1, box.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         segment.text);
        x += advance + spacing;
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

void RestingTray::paintStrip(QPainter &painter) const
{
    QList<Segment> segments{{Symbols::glyph(u"note.text"), Symbols::font(10), foreground()},
                            {m_count > 0 ? QLocale().toString(m_count) + QLatin1Char(' ') + notesWord(m_count)
                                         : QStringLiteral("Brindlewick"),
                             stripFont(), foreground()}};
    if (m_countdown) {
        QColor dim(Qt::white);
        dim.setAlphaF(0.45f);
        segments.append({QStringLiteral("·"), stripFont(), dim});
        segments.append({m_countdown->shortText(), Fonts::clock(), countdownColor()});
    }
    paintRow(painter, rect(), segments, stripSpacing);
}
