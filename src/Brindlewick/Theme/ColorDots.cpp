#include "ColorDots.h"

#include "FocusRing.h"
#include "Paper.h"
#include "Theme.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>

namespace {

// The selection ring lies 1 to 3 points outside the dot.
constexpr qreal ringReach = 3;
constexpr qreal ringWidth = 2;
constexpr qreal dotSpacing = 6;
constexpr qreal rimWidth = 1;
// How much of the rim is ink; the rest is the dot's own colour.
constexpr qreal rimInk = 0.55;

// One dot; checked while its colour is the selection, which is what assistive technologies read.
class ColorDot : public QAbstractButton {
public:
    ColorDot(NoteColor color, qreal size, QWidget *parent) : QAbstractButton(parent), m_color(color), m_size(size)
    {
        setCheckable(true);
        // Picking a colour by a click leaves the focus in the line or text being written.
        setFocusPolicy(Qt::TabFocus);
        setToolTip(title(color));
        setAccessibleName(title(color));
        // Each dot carries half the row's spacing on either side, so the ring fits inside the widget.
        const int side = qCeil(size + dotSpacing);
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        const qreal radius = m_size / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Paper::swatch(m_color).resolved(this));
        painter.drawEllipse(centre, radius, radius);
        // A rim of ink over the swatch keeps every dot's edge at 3:1 or more against the ground in
        // both appearances: pale dots on light cards, graphite on dark ones.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(rimColor(), rimWidth));
        painter.drawEllipse(centre, radius - rimWidth / 2, radius - rimWidth / 2);
        // The keyboard's focus takes the selection ring's place, in the accent.
        const bool focused = FocusRing::isShown(this);
        if (isChecked() || focused) {
            painter.setPen(QPen((focused ? Theme::accent : Theme::ink).resolved(this), ringWidth));
            const qreal ring = radius + ringReach - ringWidth / 2;
            painter.drawEllipse(centre, ring, ring);
        }
    }

    // A click selects; it never clears the selection.
    void nextCheckState() override { setChecked(true); }

    QColor rimColor() const
    {
        const QColor ink = Theme::ink.resolved(this);
        const QColor swatch = Paper::swatch(m_color).resolved(this);
        const auto mix = [](int top, int bottom) { return qRound(top * rimInk + bottom * (1 - rimInk)); };
        return QColor(mix(ink.red(), swatch.red()), mix(ink.green(), swatch.green()), mix(ink.blue(), swatch.blue()));
    }

private:
    NoteColor m_color;
    qreal m_size;
};

} // namespace

ColorDots::ColorDots(NoteColor selection, qreal size, QWidget *parent)
    : QWidget(parent), m_selection(selection), m_size(size)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (size_t i = 0; i < NoteColors::allCases.size(); ++i) {
        const NoteColor color = NoteColors::allCases[i];
        auto *button = new ColorDot(color, size, this);
        button->setChecked(color == selection);
        connect(button, &QAbstractButton::clicked, this, [this, color] { setSelection(color); });
        row->addWidget(button, 0, Qt::AlignVCenter);
        m_dots[i] = button;
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QAbstractButton *ColorDots::dot(NoteColor color) const
{
    return m_dots[size_t(color)];
}

void ColorDots::setSelection(NoteColor color)
{
    for (size_t i = 0; i < m_dots.size(); ++i)
        m_dots[i]->setChecked(NoteColors::allCases[i] == color);
    if (color == m_selection)
        return;
    m_selection = color;
    emit selectionChanged(color);
}
