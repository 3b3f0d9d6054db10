#include "CardRow.h"

#include "TrayCard.h"

#include "Theme/FocusRing.h"

#include <QAccessible>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr int step = TrayCard::cardSize.width() + CardRow::spacing;
// Where a pointer that has left the row is.
constexpr QPoint nowhere{-1, -1};

} // namespace

CardRow::CardRow(AppModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAccessibleName(tr("Tucked notes"));
}

void CardRow::setNotes(const QList<StickyNote> &notes)
{
    m_notes = notes;
    m_current = std::clamp(m_current, qsizetype(0), std::max(qsizetype(0), m_notes.size() - 1));
    scrollTo(m_offset);
}

int CardRow::contentWidth() const
{
    const auto n = int(m_notes.size());
    return n == 0 ? 0 : 2 * padding + n * step - spacing;
}

void CardRow::scrollTo(int offset)
{
    m_offset = std::clamp(offset, 0, std::max(0, contentWidth() - width()));
    layoutCards();
}

QList<TrayCard *> CardRow::cards() const
{
    QList<TrayCard *> list = m_built.values();
    std::sort(list.begin(), list.end(), [](const TrayCard *a, const TrayCard *b) { return a->x() < b->x(); });
    return list;
}

void CardRow::resizeEvent(QResizeEvent *)
{
    scrollTo(m_offset);
}

void CardRow::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() / 2 : event->pixelDelta();
    scrollTo(m_offset - (delta.x() != 0 ? delta.x() : delta.y()));
    event->accept();
}

// Cards that leave the view are deleted from the event loop: the click that moved them may be theirs.
void CardRow::layoutCards()
{
    const auto n = int(m_notes.size());
    const int content = contentWidth();
    const int start = (content <= width() ? (width() - content) / 2 : -m_offset) + padding;
    const int first = std::max(0, (-start - TrayCard::cardSize.width()) / step);
    const int last = std::min(n - 1, (width() - start) / step);
    const int top = (height() - TrayCard::cardSize.height()) / 2;

    bool moved = false;
    QHash<QUuid, TrayCard *> kept;
    for (int i = first; i <= last; ++i) {
        const StickyNote &note = m_notes.at(i);
        TrayCard *card = m_built.take(note.id);
        if (card) {
            card->setNote(note);
        } else {
            card = new TrayCard(m_model, note, false, this);
            // Its moves go on to the row, which knows which card the pointer is over.
            card->setMouseTracking(true);
            moved = true;
        }
        const QPoint at(start + i * step, top);
        moved = moved || card->pos() != at;
        card->move(at);
        card->show();
        kept.insert(note.id, card);
    }
    for (TrayCard *gone : std::as_const(m_built)) {
        gone->hide();
        gone->deleteLater();
        moved = true;
    }
    m_built = kept;
    if (moved && m_followsPointer)
        hoverAt(mapFromGlobal(QCursor::pos()));
    if (moved)
        showCurrent();
}

void CardRow::followPointer()
{
    m_followsPointer = true;
    hoverAt(mapFromGlobal(QCursor::pos()));
}

// A card given the hover under a still pointer hears no Leave when the pointer's first move takes it
// elsewhere, so the row follows the pointer itself.
void CardRow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_followsPointer)
        hoverAt(event->position().toPoint());
}

void CardRow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_followsPointer)
        hoverAt(nowhere);
}

void CardRow::hoverAt(QPoint pointer)
{
    const bool inRow = rect().contains(pointer);
    for (TrayCard *card : std::as_const(m_built))
        card->setHovering(inRow && card->geometry().contains(pointer));
}

// Left and Up go back, Right and Down on, as they do on the tray's buttons.
void CardRow::keyPressEvent(QKeyEvent *event)
{
    if (m_notes.isEmpty() || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (m_current > 0)
            moveCurrent(m_current - 1);
        else
            focusNextPrevChild(false);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (m_current < m_notes.size() - 1)
            moveCurrent(m_current + 1);
        else
            focusNextPrevChild(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: TrayCard::open(m_model, m_notes[m_current].id); return;
    default: QWidget::keyPressEvent(event);
    }
}

void CardRow::moveCurrent(qsizetype index)
{
    m_current = index;
    const int left = padding + int(index) * step;
    if (left - padding < m_offset)
        scrollTo(left - padding);
    else if (left + TrayCard::cardSize.width() + padding > m_offset + width())
        scrollTo(left + TrayCard::cardSize.width() + padding - width());
    announceCurrent();
}

void CardRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    announceCurrent();
}

void CardRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    showCurrent();
}

TrayCard *CardRow::currentCard() const
{
    return m_notes.isEmpty() ? nullptr : m_built.value(m_notes[m_current].id);
}

// The card the keyboard is on wears the ring.
void CardRow::showCurrent()
{
    const bool shown = FocusRing::isShown(this);
    const TrayCard *current = currentCard();
    for (TrayCard *card : std::as_const(m_built))
        card->setFocusShown(shown && card == current);
}

// Assistive technologies hear the card the keyboard has come to.
void CardRow::announceCurrent()
{
    showCurrent();
    if (TrayCard *card = currentCard(); card && hasFocus()) {
        QAccessibleEvent focused(card, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}
