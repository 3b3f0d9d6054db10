#include "NoteView.h"

#include "State/AppModel.h"
#include "ColorButton.h"
#include "DeadlineButton.h"
#include "DeadlinePicker.h"
#include "NoteFace.h"
#include "NoteFooter.h"
#include "NoteHeader.h"
#include "Popover.h"
#include "RingBar.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/DesktopAppearance.h"
#include "Theme/PaperBackground.h"
#include "Theme/PaperEditor.h"
#include "Theme/TiltedTape.h"
#include "TimerPicker.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <limits>

namespace {

constexpr int fadeMilliseconds = 150;
constexpr int dotSize = 16;
constexpr int dotsPadding = 12;
// With the document's own margin the text starts 15 points from the paper's edge.
constexpr int editorPadding = 10;
constexpr qreal documentMargin = 5;

PaperEditor *makeEditor(QWidget *parent)
{
    auto *editor = new PaperEditor(parent);
    editor->setPlaceholderText(NoteView::tr("Write something…"));
    editor->document()->setDocumentMargin(documentMargin);
    editor->setTabChangesFocus(true);
    return editor;
}

} // namespace

NoteView::NoteView(AppModel &model, const QUuid &id, bool peeking, bool forceControls, QWidget *parent)
    : QWidget(parent), m_model(model), m_id(id), m_peeking(peeking), m_forceControls(forceControls)
{
    m_header = new NoteHeader(model, id, this);
    m_editor = makeEditor(this);
    m_footer = new NoteFooter(model, id, this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_header);
    auto *editorRow = new QHBoxLayout;
    editorRow->setContentsMargins(editorPadding, 0, editorPadding, 0);
    editorRow->addWidget(m_editor);
    column->addLayout(editorRow, 1);
    column->addWidget(m_footer);

    m_fade = new QVariantAnimation(this);
    m_fade->setDuration(fadeMilliseconds);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { setControlsOpacity(value.toReal()); });

    m_editor->installEventFilter(this);
    connect(m_editor, &PaperEditor::edited, this, [this](const QString &text) { m_model.setText(m_id, text); });
    connect(m_header, &NoteHeader::colorsRequested, this, [this] { openPopover(PopoverRequest::Kind::color); });
    connect(m_footer, &NoteFooter::timerRequested, this, [this] { openPopover(PopoverRequest::Kind::timer); });
    connect(m_header, &NoteHeader::showInLibrary, this, &NoteView::showInLibrary);
    connect(m_footer, &NoteFooter::deadlineRequested, this, [this] { openPopover(PopoverRequest::Kind::deadline); });

    connect(&model, &AppModel::bookChanged, this, &NoteView::refresh);
    model.clockFollowers().add(this, [this](Date now) { return followClock(now); });
    connect(&model, &AppModel::ringingChanged, this, &NoteView::refresh);
    connect(&model, &AppModel::popoverChanged, this, &NoteView::answerPopoverRequest);
    connect(qApp, &QApplication::focusChanged, this, &NoteView::focusChanged);
    connect(&DesktopAppearance::instance(), &DesktopAppearance::changed, this, qOverload<>(&QWidget::update));

    refresh();
    m_targetShown = controlsShown();
    setControlsOpacity(m_targetShown ? 1 : 0);
}

NoteView::~NoteView()
{
    // Deleting the children below may move the focus, and this view is no longer one to tell.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_popover)
        m_popover->disconnect(this);
}

const StickyNote *NoteView::note() const
{
    const QList<StickyNote> &notes = m_model.book().notes;
    if (m_foundAt < notes.size() && notes[m_foundAt].id == m_id)
        return &notes[m_foundAt];
    const StickyNote *found = m_model.book().find(m_id);
    if (found)
        m_foundAt = found - notes.constData();
    return found;
}

void NoteView::refresh()
{
    const StickyNote *shown = note();
    std::optional<std::pair<StickyNote, bool>> current;
    if (shown)
        current = std::pair(*shown, m_model.ringing().contains(m_id));
    if (current && current == m_shown)
        return;
    m_shown = current;
    if (shown)
        showNote(*shown);
    else
        showNothing();
    std::optional<std::pair<NoteColor, bool>> paper;
    if (current)
        paper = std::pair(current->first.color, current->second);
    if (paper != m_paperShown) {
        m_paperShown = paper;
        update();
    }
}

// Only on the ticks when the note's face may change: only what the clock moves, each part
// repainting only if it looks different. Answers until when the face holds.
Date NoteView::followClock(Date now)
{
    const StickyNote *shown = note();
    if (!shown)
        return Date{std::numeric_limits<double>::infinity()};
    m_header->followClock(*shown, now);
    m_footer->refresh(*shown, now);
    // A ringing note's bar follows every tick.
    if (m_shown && m_shown->second) {
        ringBar()->refresh(*shown, now);
        return now;
    }
    return NoteFace::steadyUntil(*shown, now, m_model.tomorrow(), m_header->tape()->fillSteadyFor());
}

// The tape's fill steps with its width.
void NoteView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_model.clockFollowers().wake(this);
}

void NoteView::showNote(const StickyNote &note)
{
    const Date now = m_model.now();
    const bool ringing = m_model.ringing().contains(m_id);
    setAccessibleName(tr("Note: %1").arg(note.title()));
    m_header->refresh(note, now);
    m_footer->refresh(note, now);
    m_header->show();
    m_editor->show();
    m_footer->setVisible(!ringing);
    if (ringing) {
        ringBar()->refresh(note, now);
        ringBar()->show();
    } else if (m_ringBar) {
        m_ringBar->hide();
    }
    m_editor->setPaper(note.color);
    m_editor->showText(note.text);
    m_model.clockFollowers().wake(this);
    if (m_popover && m_popoverKind == PopoverRequest::Kind::color) {
        if (auto *dots = m_popover->content()->findChild<ColorDots *>())
            dots->setSelection(note.color);
    }
}

void NoteView::showNothing()
{
    setAccessibleName(QString());
    for (QWidget *part : {static_cast<QWidget *>(m_header), static_cast<QWidget *>(m_editor),
                          static_cast<QWidget *>(m_footer)})
        part->hide();
    if (m_ringBar)
        m_ringBar->hide();
    m_editor->showText(QString());
}

void NoteView::paintEvent(QPaintEvent *event)
{
    if (!m_paperShown)
        return;
    QPainter painter(this);
    PaperBackground::paintExposed(painter, rect(), event->rect(), m_paperShown->first, m_paperShown->second, this);
}

void NoteView::keyPressEvent(QKeyEvent *event)
{
    if (!answersRing(event))
        QWidget::keyPressEvent(event);
}

// Return is the ring bar's default answer, also while the text has the focus.
bool NoteView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress && answersRing(static_cast<QKeyEvent *>(event)))
        return true;
    if (watched == m_hoverWindow && (event->type() == QEvent::Enter || event->type() == QEvent::Leave))
        setHovering(event->type() == QEvent::Enter);
    return QWidget::eventFilter(watched, event);
}

bool NoteView::answersRing(const QKeyEvent *event)
{
    const bool accept = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!accept || !m_model.ringing().contains(m_id))
        return false;
    ringBar()->acknowledge();
    return true;
}

RingBar *NoteView::ringBar()
{
    if (!m_ringBar) {
        m_ringBar = new RingBar(m_model, m_id, this);
        m_ringBar->hide();
        static_cast<QBoxLayout *>(layout())->addWidget(m_ringBar);
    }
    return m_ringBar;
}

void NoteView::focusText()
{
    m_editor->setFocus(Qt::OtherFocusReason);
}

void NoteView::answerPopoverRequest()
{
    const std::optional<PopoverRequest> request = m_model.popover();
    if (!request || request->id != m_id)
        return;
    openPopover(request->kind);
    m_model.setPopover(std::nullopt);
}

Popover *NoteView::popover() const
{
    return m_popover;
}

bool NoteView::showsPopover(PopoverRequest::Kind kind) const
{
    return m_popover && m_popoverKind == kind;
}

void NoteView::openPopover(PopoverRequest::Kind kind)
{
    if (m_popover) {
        m_popover->disconnect(this);
        m_popover->close();
    }
    m_popoverKind = kind;
    m_popover = new Popover(popoverContent(kind), this);
    Popover *popover = m_popover;
    connect(popover, &Popover::closed, this, [this, popover] {
        if (m_popover == popover)
            m_popover = nullptr;
        updateControls();
    });
    updateControls();
    popover->popup(popoverAnchor(kind));
}

QWidget *NoteView::popoverContent(PopoverRequest::Kind kind)
{
    const auto close = [this] {
        if (m_popover)
            m_popover->close();
    };
    switch (kind) {
    case PopoverRequest::Kind::timer:
        return new TimerPicker(m_model, m_id, close);
    case PopoverRequest::Kind::deadline:
        return new DeadlinePicker(m_model, m_id, close);
    case PopoverRequest::Kind::color:
        break;
    }
    const StickyNote *note = m_model.book().find(m_id);
    auto *content = new QWidget;
    auto *dots = new ColorDots(note ? note->color : NoteColor::lemon, dotSize, content);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(dotsPadding, dotsPadding, dotsPadding, dotsPadding);
    layout->addWidget(dots);
    content->setFocusProxy(dots->dot(dots->selection()));
    connect(dots, &ColorDots::selectionChanged, this, [this](NoteColor color) { m_model.setColor(m_id, color); });
    return content;
}

QWidget *NoteView::popoverAnchor(PopoverRequest::Kind kind) const
{
    switch (kind) {
    case PopoverRequest::Kind::timer:
        return m_footer->timerAnchor();
    case PopoverRequest::Kind::deadline:
        return m_footer->deadlineButton();
    case PopoverRequest::Kind::color:
        break;
    }
    return m_header->colorButton();
}

void NoteView::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHovering(true);
}

// Within a window of its own the pointer may leave the note for the window's resize edges.
void NoteView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_hoverWindow)
        setHovering(false);
}

void NoteView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QWidget *shownIn = window();
    if (shownIn == this || shownIn == m_hoverWindow)
        return;
    if (m_hoverWindow)
        m_hoverWindow->removeEventFilter(this);
    m_hoverWindow = shownIn;
    m_hoverWindow->installEventFilter(this);
}

void NoteView::setHovering(bool hovering)
{
    m_hovering = hovering;
    updateControls();
}

void NoteView::focusChanged()
{
    m_editing = isAncestorOf(QApplication::focusWidget());
    updateControls();
}

bool NoteView::controlsShown() const
{
    return m_forceControls || m_hovering || m_editing || !m_popover.isNull();
}

void NoteView::updateControls()
{
    const bool shown = controlsShown();
    if (shown == m_targetShown)
        return;
    m_targetShown = shown;
    const qreal target = shown ? 1 : 0;
    m_fade->stop();
    if (Appearance::reduceMotion()) {
        setControlsOpacity(target);
        return;
    }
    m_fade->setStartValue(m_controlsOpacity);
    m_fade->setEndValue(target);
    m_fade->start();
}

void NoteView::setControlsOpacity(qreal opacity)
{
    m_controlsOpacity = opacity;
    m_header->setControlsOpacity(opacity);
    m_footer->setControlsOpacity(opacity);
}
