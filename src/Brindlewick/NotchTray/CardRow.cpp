#include "CardRow.h"

#include "TrayCard.h"

#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr int step = TrayCard::cardSize.width() + CardRow::spacing;

} // namespace

CardRow::CardRow(AppModel &model, QWidget *parent) : QWidget(parent), m_model(model) {}

void CardRow::setNotes(const QList<StickyNote> &notes)
{
    m_notes = notes;
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

    QHash<QUuid, TrayCard *> kept;
    for (int i = first; i <= last; ++i) {
        const StickyNote &note = m_notes.at(i);
        TrayCard *card = m_built.take(note.id);
        if (card)
            card->setNote(note);
        else
            card = new TrayCard(m_model, note, false, this);
        card->move(start + i * step, top);
        card->show();
        kept.insert(note.id, card);
    }
    for (TrayCard *gone : std::as_const(m_built)) {
        gone->hide();
        gone->deleteLater();
    }
    m_built = kept;
}
