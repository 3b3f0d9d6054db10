#include "CardGrid.h"

#include "NoteCard.h"

#include "State/AppModel.h"
#include "Theme/FocusRing.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
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
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Notes"));
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    if (parent)
        parent->installEventFilter(this);
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
    const int rows = rowCount(m_notes.size(), columns(width).count);
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
    const bool countChanged = notes.size() != m_notes.size();
    const std::optional<qsizetype> leftAt = placeOfDepartedSelection(notes);
    m_notes = notes;
    m_selection = selection;
    placeCards();
    if (countChanged)
        updateGeometry();
    if (leftAt)
        emit selectedNoteLeft(*leftAt);
}

// A change of filter or search comes with the keyboard elsewhere, and so does typing in the
// inspector that takes the note out of a search: the keyboard stays where it is then.
std::optional<qsizetype> CardGrid::placeOfDepartedSelection(const QList<StickyNote> &notes) const
{
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return std::nullopt;
    const QUuid id = m_notes[*index].id;
    if (std::any_of(notes.cbegin(), notes.cend(), [&](const StickyNote &note) { return note.id == id; }))
        return std::nullopt;
    const std::optional<StickyNote> now = m_model.book()[id];
    return !now || now->isDeleted() || hasFocus() ? index : std::nullopt;
}

std::pair<qsizetype, qsizetype> CardGrid::wantedRange() const
{
    const QWidget *viewport = parentWidget();
    QRect wanted = rect();
    if (viewport) {
        const int screen = viewport->height();
        wanted = QRect(-pos(), viewport->size()).adjusted(0, -screen, 0, screen);
    }
    const int perRow = columns(width()).count;
    const qreal rowPitch = NoteCard::cardHeight + rowSpacing;
    const qsizetype firstRow = std::max(0, int(std::floor((wanted.top() - topPadding) / rowPitch)));
    const qsizetype endRow = std::max(0, int(std::ceil((wanted.bottom() - topPadding) / rowPitch)));
    const qsizetype first = std::min(firstRow * perRow, m_notes.size());
    return {first, std::min(endRow * perRow, m_notes.size()) - first};
}

// Makes, reuses or drops cards so the wanted notes have one each, and lays them out.
void CardGrid::placeCards()
{
    const auto [first, count] = wantedRange();
    // Cards keep their place in the list while scrolling, so those still wanted need no repaint;
    // the others are handed to the notes that come into range.
    QList<NoteCard *> kept(count, nullptr);
    QList<NoteCard *> spare;
    for (qsizetype i = 0; i < m_cards.size(); ++i) {
        const qsizetype at = m_first + i - first;
        if (at >= 0 && at < count)
            kept[at] = m_cards[i];
        else
            spare.append(m_cards[i]);
    }
    for (qsizetype i = 0; i < count; ++i) {
        const StickyNote &note = m_notes[first + i];
        const bool selected = m_selection == note.id;
        if (!kept[i] && !spare.isEmpty())
            kept[i] = spare.takeLast();
        if (kept[i]) {
            kept[i]->setNote(note, selected);
            continue;
        }
        kept[i] = new NoteCard(m_model, note, selected, this);
        kept[i]->show();
    }
    // A card may be the one a pointer event is still passing through, so it goes only later.
    for (NoteCard *card : spare) {
        card->hide();
        card->deleteLater();
    }
    m_first = first;
    m_cards = kept;
    for (qsizetype i = 0; i < m_cards.size(); ++i)
        m_cards[i]->setGeometry(cell(first + i).adjusted(-NoteCard::margin, -NoteCard::margin, NoteCard::margin,
                                                        NoteCard::margin));
    showFocus();
}

void CardGrid::showFocus()
{
    const bool shown = FocusRing::isShown(this);
    for (NoteCard *card : std::as_const(m_cards))
        card->setFocusShown(shown && card->isSelected());
}

// The paper of the note at `index`.
QRect CardGrid::cell(qsizetype index) const
{
    const Columns grid = columns(width());
    const int column = int(index % grid.count);
    const int row = int(index / grid.count);
    return QRectF(grid.left + column * (grid.width + columnSpacing),
                  topPadding + row * (NoteCard::cardHeight + rowSpacing), grid.width, NoteCard::cardHeight)
        .toRect();
}

void CardGrid::resizeEvent(QResizeEvent *)
{
    placeCards();
}

// Scrolling moves the grid inside its viewport.
void CardGrid::moveEvent(QMoveEvent *)
{
    placeCards();
}

bool CardGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ParentAboutToChange && parentWidget())
        parentWidget()->removeEventFilter(this);
    if (event->type() == QEvent::ParentChange && parentWidget())
        parentWidget()->installEventFilter(this);
    return QWidget::event(event);
}

bool CardGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        placeCards();
    return QWidget::eventFilter(watched, event);
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

// From the keyboard the menu is the selected note's, under its card.
void CardGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        popUpSelectedMenu();
        return;
    }
    NoteCard *card = cardAt(event->pos());
    if (!card) {
        event->ignore();
        return;
    }
    popUpMenu(card->note(), event->globalPos());
}

void CardGrid::popUpSelectedMenu()
{
    if (const std::optional<qsizetype> index = selectedIndex())
        popUpMenu(m_notes[*index], mapToGlobal(cell(*index).center()));
}

void CardGrid::popUpMenu(const StickyNote &note, QPoint globalPos)
{
    QMenu *menu = contextMenu(note, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void CardGrid::enter()
{
    setFocus(Qt::TabFocusReason);
}

void CardGrid::enterAt(qsizetype index)
{
    if (m_notes.isEmpty())
        return;
    selectAt(index);
    setFocus(Qt::OtherFocusReason);
}

// Coming in by the keyboard shows where it is: a selection among the notes, the first if none.
void CardGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    const bool byKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
                            || event->reason() == Qt::ShortcutFocusReason;
    if (byKeyboard && !m_notes.isEmpty())
        selectAt(selectedIndex().value_or(0));
    showFocus();
}

void CardGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    showFocus();
}

void CardGrid::keyPressEvent(QKeyEvent *event)
{
    if (const std::optional<qsizetype> index = target(event->key()); index && event->modifiers() == Qt::NoModifier) {
        selectAt(*index);
        return;
    }
    const bool open = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (const std::optional<qsizetype> index = selectedIndex(); open && index) {
        showOnDesktop(m_notes[*index].id);
        return;
    }
    // The other key that asks for a context menu, besides the menu key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        popUpSelectedMenu();
        return;
    }
    if (event->key() == Qt::Key_Delete && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        deleteSelected();
        return;
    }
    QWidget::keyPressEvent(event);
}

// As the menu's "Delete Note": to "Recently deleted", with the undo banner. A note there already, or
// none selected, leaves nothing to delete.
void CardGrid::deleteSelected()
{
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || m_notes[*index].isDeleted()) {
        QApplication::beep();
        return;
    }
    m_model.deleteNotes({m_notes[*index].id});
}

void CardGrid::duplicate(QUuid id)
{
    const std::optional<QUuid> copy = m_model.duplicate(id);
    if (!copy)
        return;
    m_model.setSelection(copy);
    for (qsizetype i = 0; i < m_notes.size(); ++i) {
        if (m_notes[i].id == *copy)
            emit selectionMoved(cell(i));
    }
}

std::optional<qsizetype> CardGrid::target(int key) const
{
    if (m_notes.isEmpty())
        return std::nullopt;
    const qsizetype perRow = columns(width()).count;
    const std::optional<qsizetype> current = selectedIndex();
    // Without a selection every move starts at the first note.
    const auto from = [&](qsizetype step) { return current ? *current + step : 0; };
    switch (key) {
    case Qt::Key_Left: return from(-1);
    case Qt::Key_Right: return from(1);
    // Up and down keep to the column, and stop at the first and last rows.
    case Qt::Key_Up: return current && *current < perRow ? *current : from(-perRow);
    case Qt::Key_Down: return current && *current + perRow >= m_notes.size() ? *current : from(perRow);
    case Qt::Key_PageUp: return from(-perRow * pageRows());
    case Qt::Key_PageDown: return from(perRow * pageRows());
    case Qt::Key_Home: return 0;
    case Qt::Key_End: return m_notes.size() - 1;
    default: return std::nullopt;
    }
}

// The whole rows a screen of the scroll area holds.
int CardGrid::pageRows() const
{
    const int shown = parentWidget() ? parentWidget()->height() : height();
    return std::max(1, int(shown / (NoteCard::cardHeight + rowSpacing)));
}

std::optional<qsizetype> CardGrid::selectedIndex() const
{
    if (!m_selection)
        return std::nullopt;
    for (qsizetype i = 0; i < m_notes.size(); ++i) {
        if (m_notes[i].id == *m_selection)
            return i;
    }
    return std::nullopt;
}

void CardGrid::selectAt(qsizetype index)
{
    index = std::clamp(index, qsizetype(0), m_notes.size() - 1);
    m_model.setSelection(m_notes[index].id);
    emit selectionMoved(cell(index));
    for (NoteCard *card : std::as_const(m_cards)) {
        if (card->note().id == m_notes[index].id) {
            QAccessibleEvent focused(card, QAccessible::Focus);
            QAccessible::updateAccessibility(&focused);
        }
    }
}

void CardGrid::showOnDesktop(QUuid id)
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
    menu->addAction(tr("Duplicate"), this, [this, id] { duplicate(id); });
    menu->addSeparator();
    menu->addAction(tr("Delete"), menu, [model, id] { model->deleteNotes({id}); });
    return menu;
}
