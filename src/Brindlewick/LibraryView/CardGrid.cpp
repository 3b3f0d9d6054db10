#include "CardGrid.h"

#include "NoteCard.h"

#include "App/AppModel.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <cmath>

namespace {

constexpr qreal sidePadding = 20;
constexpr qreal topPadding = 6;
constexpr qreal bottomPadding = 60;
constexpr qreal smallestColumn = 186;
constexpr qreal widestColumn = 260;
constexpr qreal columnSpacing = 16;
constexpr qreal rowSpacing = 18;

int rowCount(qsizetype cards, int columns)
{
    return int((cards + columns - 1) / columns);
}

} // namespace

CardGrid::CardGrid(AppModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

CardGrid::Columns CardGrid::columns(qreal width)
{
    const qreal room = std::max(0.0, width - 2 * sidePadding);
    Columns columns;
    columns.count = std::max(1, int(std::floor((room + columnSpacing) / (smallestColumn + columnSpacing))));
    columns.width = std::min(widestColumn, (room - columnSpacing * (columns.count - 1)) / columns.count);
    const qreal used = columns.count * columns.width + (columns.count - 1) * columnSpacing;
    columns.left = sidePadding + std::max(0.0, (room - used) / 2);
    return columns;
}

int CardGrid::heightForWidth(int width) const
{
    const int rows = rowCount(m_cards.size(), columns(width).count);
    if (rows == 0)
        return int(topPadding + bottomPadding);
    return qCeil(topPadding + rows * NoteCard::cardHeight + (rows - 1) * rowSpacing + bottomPadding);
}

QSize CardGrid::sizeHint() const
{
    const int width = qCeil(2 * sidePadding + smallestColumn);
    return QSize(width, heightForWidth(width));
}

void CardGrid::setNotes(const QList<StickyNote> &notes, std::optional<QUuid> selection)
{
    const bool countChanged = notes.size() != m_cards.size();
    // A card may be the one a pointer event is still passing through, so it goes only later.
    while (m_cards.size() > notes.size()) {
        NoteCard *card = m_cards.takeLast();
        card->hide();
        card->deleteLater();
    }
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const bool selected = selection == notes[i].id;
        if (i < m_cards.size()) {
            m_cards[i]->setNote(notes[i], selected);
            continue;
        }
        auto *card = new NoteCard(m_model, notes[i], selected, this);
        m_cards.append(card);
        card->show();
    }
    if (countChanged) {
        placeCards();
        updateGeometry();
    }
}

void CardGrid::placeCards()
{
    const Columns grid = columns(width());
    for (qsizetype i = 0; i < m_cards.size(); ++i) {
        const int column = int(i % grid.count);
        const int row = int(i / grid.count);
        const QRectF cell(grid.left + column * (grid.width + columnSpacing),
                          topPadding + row * (NoteCard::cardHeight + rowSpacing), grid.width, NoteCard::cardHeight);
        m_cards[i]->setGeometry(cell.toRect().adjusted(-NoteCard::margin, -NoteCard::margin, NoteCard::margin,
                                                       NoteCard::margin));
    }
}

void CardGrid::resizeEvent(QResizeEvent *)
{
    placeCards();
}

NoteCard *CardGrid::cardAt(QPoint point) const
{
    for (NoteCard *card : m_cards) {
        if (card->cardRect().translated(card->pos()).contains(point))
            return card;
    }
    return nullptr;
}

void CardGrid::mousePressEvent(QMouseEvent *event)
{
    NoteCard *card = event->button() == Qt::LeftButton ? cardAt(event->position().toPoint()) : nullptr;
    if (!card) {
        event->ignore();
        return;
    }
    m_model.setSelection(card->note().id);
}

void CardGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    NoteCard *card = event->button() == Qt::LeftButton ? cardAt(event->position().toPoint()) : nullptr;
    if (!card) {
        event->ignore();
        return;
    }
    showOnDesktop(card->note().id);
}

void CardGrid::contextMenuEvent(QContextMenuEvent *event)
{
    NoteCard *card = cardAt(event->pos());
    if (!card) {
        event->ignore();
        return;
    }
    QMenu *menu = contextMenu(card->note(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CardGrid::showOnDesktop(const QUuid &id)
{
    m_model.setNotesHidden(false);
    m_model.stopRinging(id);
    if (m_model.onShow)
        m_model.onShow(id);
}

QMenu *CardGrid::contextMenu(const StickyNote &note, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const QUuid id = note.id;
    AppModel *model = &m_model;
    if (note.isDeleted()) {
        menu->addAction(tr("Restore"), menu, [model, id] { model->restore(id); });
        menu->addAction(tr("Delete Forever"), menu, [model, id] { model->deleteForever(id); });
        return menu;
    }
    menu->addAction(tr("Show on Desktop"), this, [this, id] { showOnDesktop(id); });
    menu->addAction(note.tucked ? tr("Put on the Desktop") : tr("Tuck into the Notch"), menu,
                    [model, id, tucked = note.tucked] { model->setTucked(id, !tucked); });
    menu->addAction(note.pinned ? tr("Stop Floating") : tr("Float Above Other Windows"), menu,
                    [model, id] { model->togglePinned(id); });
    menu->addAction(note.isDone() ? tr("Not Done") : tr("Mark Done"), menu, [model, id] { model->toggleDone(id); });
    menu->addAction(tr("Duplicate"), menu, [model, id] { model->duplicate(id); });
    menu->addSeparator();
    menu->addAction(tr("Delete"), menu, [model, id] { model->deleteNotes({id}); });
    return menu;
}
