#include "SlantedTape.h"

#include "Theme/Appearance.h"
#include "Theme/TimeTape.h"

#include <QPainter>

SlantedTape::SlantedTape(QSizeF tape, qreal degrees, NoteColor paper, QWidget *parent)
    : QWidget(parent), m_tape(tape), m_degrees(degrees), m_paper(paper)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SlantedTape::setCountdown(const std::optional<Countdown> &countdown, NoteColor paper)
{
    if (countdown == m_countdown && paper == m_paper)
        return;
    m_countdown = countdown;
    m_paper = paper;
    setAccessibleName(countdown ? countdown->spokenText() : QString());
    update();
}

QSize SlantedTape::sizeHint() const
{
    return m_tape.toSize() + QSize(2 * margin, 2 * margin);
}

void SlantedTape::paint(QPainter &painter, const QRectF &tape, qreal degrees, const std::optional<Countdown> &countdown,
                        NoteColor paper, const QWidget *widget)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(tape.center());
    painter.rotate(degrees);
    painter.translate(-tape.center());
    TimeTape::paint(painter, tape, countdown, paper, true, Appearance::scheme(widget));
    painter.restore();
}

void SlantedTape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF tape(QPointF((width() - m_tape.width()) / 2, margin), m_tape);
    paint(painter, tape, m_degrees, m_countdown, m_paper, this);
}
