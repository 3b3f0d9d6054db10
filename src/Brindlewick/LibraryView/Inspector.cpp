#include "Inspector.h"

#include "ShownRefresh.h"
#include "Theme/PlainButton.h"
#include "Theme/SegmentedPicker.h"
#include "Theme/SymbolLabel.h"
#include "Theme/ThemeLabel.h"
#include "Theme/ThemePalette.h"

#include "NoteView/DeadlinePicker.h"
#include "NoteView/Popover.h"
#include "NoteView/TimerPicker.h"
#include "State/AppModel.h"
#include "Theme/ColorDots.h"
#include "Theme/Fonts.h"
#include "Theme/Kicker.h"
#include "Theme/PaperBackground.h"
#include "Theme/PaperEditor.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"
#include "Theme/TiltedTape.h"

#include "Calendar.h"
#include "Countdown.h"
#include "TimeText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

constexpr QSizeF tapeSize{150, 22};
constexpr qreal tapeTilt = -1.2;
constexpr int editorHeight = 170;
constexpr int padding = 16;
constexpr int extraTop = 22;
constexpr int addedSeconds = 300;

QString when(Date date, Date now, const Calendar &calendar)
{
    return TimeText::due(date, now, calendar, QLocale());
}

QHBoxLayout *row(QWidget *holder)
{
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

QVBoxLayout *column(QWidget *holder, int spacing)
{
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// The stock toggle in the column's colours.
void followTheme(QWidget *control)
{
    ThemePalette::follow(control, {{QPalette::WindowText, Theme::ink},
                                   {QPalette::Base, Theme::card},
                                   {QPalette::Text, Theme::ink},
                                   {QPalette::Highlight, Theme::accent},
                                   {QPalette::HighlightedText, Theme::accentInk}});
}

PlainButton *linkButton(QWidget *parent)
{
    return new PlainButton({}, Fonts::body(), Theme::accent, parent);
}

} // namespace

Inspector::Inspector(AppModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    m_pages = new QStackedLayout(this);
    m_pages->addWidget(makeHint());
    m_pages->addWidget(makeEditor());
    auto *shown = new ShownRefresh(this, [this] { refresh(); });
    for (auto changed : {&AppModel::selectionChanged, &AppModel::bookChanged, &AppModel::nowChanged,
                         &AppModel::trayEnabledChanged})
        connect(&model, changed, shown, &ShownRefresh::request);
    refresh();
}

bool Inspector::isShowingHint() const
{
    return m_pages->currentWidget() == m_hint;
}

QWidget *Inspector::makeHint()
{
    m_hint = new QWidget(this);
    auto *layout = new QVBoxLayout(m_hint);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(8);
    layout->addStretch();
    layout->addWidget(new SymbolLabel(QStringLiteral("hand.point.up.left"), 24, Theme::ink3, m_hint), 0,
                      Qt::AlignHCenter);
    auto *title = new ThemeLabel(tr("Choose a note"), Fonts::title(), Theme::ink, 0, m_hint);
    auto *caption = new ThemeLabel(tr("Click a note to edit it here. Double-click to bring it up on the desktop."),
                                   Fonts::caption(), Theme::ink2, 0, m_hint);
    for (ThemeLabel *label : {title, caption}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    layout->addStretch();
    return m_hint;
}

QWidget *Inspector::makeEditor()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    // The controls take the keyboard, and the column scrolls to the one that has it.
    m_scroll->setFocusPolicy(Qt::NoFocus);

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(padding, padding + extraTop, padding, padding);
    layout->setSpacing(16);
    layout->addWidget(makePaper(content));
    m_dots = new ColorDots(NoteColor::lemon, 18, content);
    connect(m_dots, &ColorDots::selectionChanged, this, [this](NoteColor color) {
        if (m_shownId)
            m_model.setColor(*m_shownId, color);
    });
    layout->addWidget(m_dots, 0, Qt::AlignHCenter);
    layout->addWidget(makeDeletedControls(content));

    m_live = new QWidget(content);
    auto *live = column(m_live, 16);
    live->addWidget(section(tr("Timer"), makeTimerSection(m_live), m_live));
    live->addWidget(section(tr("Deadline"), makeDeadlineSection(m_live), m_live));
    live->addWidget(section(tr("Where it lives"), makePlaceSection(m_live), m_live));
    live->addWidget(makeActionRow(m_live));
    m_dates = new ThemeLabel({}, Fonts::caption(), Theme::ink3, 0, m_live);
    live->addWidget(m_dates);
    layout->addWidget(m_live);
    layout->addStretch();

    m_scroll->setWidget(content);
    content->setAutoFillBackground(false);
    return m_scroll;
}

QWidget *Inspector::makePaper(QWidget *parent)
{
    m_paper = new PaperBackground(NoteColor::lemon, false, parent);
    // As tall as its tape and editor: the column's spare height goes below the controls.
    m_paper->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *layout = column(m_paper, 0);
    layout->setContentsMargins(0, 8 - TiltedTape::margin, 0, 0);
    m_tape = new TiltedTape(tapeSize, tapeTilt, NoteColor::lemon, m_paper);
    layout->addWidget(m_tape, 0, Qt::AlignHCenter);

    m_editor = new PaperEditor(m_paper);
    m_editor->setFixedHeight(editorHeight);
    // In a column of controls Tab goes on to the next one; only a note's own window types it.
    m_editor->setTabChangesFocus(true);
    connect(m_editor, &PaperEditor::edited, this, [this](const QString &text) {
        if (m_shownId)
            m_model.setText(*m_shownId, text);
    });
    auto *editorHolder = new QVBoxLayout;
    editorHolder->setContentsMargins(8, 8, 8, 8);
    editorHolder->addWidget(m_editor);
    layout->addLayout(editorHolder);
    return m_paper;
}

QWidget *Inspector::section(const QString &title, QWidget *content, QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = column(holder, 6);
    layout->addWidget(new Kicker(title, Theme::ink3, holder));
    layout->addWidget(content);
    return holder;
}

QWidget *Inspector::makeTimerSection(QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = column(holder, 6);

    m_timerRow = new QWidget(holder);
    auto *timer = row(m_timerRow);
    m_timerText = new ThemeLabel({}, Fonts::number(), Theme::ink, 1, m_timerRow);
    timer->addWidget(m_timerText, 1);
    m_startPause = new QuietButton({}, m_timerRow);
    connect(m_startPause, &QAbstractButton::clicked, this, &Inspector::startOrPause);
    timer->addWidget(m_startPause);
    m_addFive = new QuietButton(tr("+5"), m_timerRow);
    m_addFive->setAccessibleName(tr("Add 5 minutes"));
    connect(m_addFive, &QAbstractButton::clicked, this, [this] {
        if (m_shownId)
            m_model.addTime(*m_shownId, addedSeconds);
    });
    timer->addWidget(m_addFive);
    layout->addWidget(m_timerRow);

    m_timerLink = linkButton(holder);
    connect(m_timerLink, &QAbstractButton::clicked, this, &Inspector::openTimerPicker);
    layout->addWidget(m_timerLink, 0, Qt::AlignLeft);
    return holder;
}

QWidget *Inspector::makeDeadlineSection(QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = column(holder, 6);

    m_deadlineRow = new QWidget(holder);
    auto *deadline = row(m_deadlineRow);
    m_deadlineText = new ThemeLabel({}, Fonts::bodyMedium(), Theme::ink, 1, m_deadlineRow);
    deadline->addWidget(m_deadlineText, 1);
    m_deadlineStatus = new ThemeLabel({}, Fonts::caption(), Theme::ink2, 1, m_deadlineRow);
    m_deadlineStatus->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    deadline->addWidget(m_deadlineStatus);
    layout->addWidget(m_deadlineRow);

    m_deadlineLink = linkButton(holder);
    connect(m_deadlineLink, &QAbstractButton::clicked, this, &Inspector::openDeadlinePicker);
    layout->addWidget(m_deadlineLink, 0, Qt::AlignLeft);
    return holder;
}

QWidget *Inspector::makePlaceSection(QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = column(holder, 8);

    m_place = new SegmentedPicker({tr("Desktop"), tr("Notch")}, holder);
    connect(m_place, &SegmentedPicker::picked, this, [this](int index) {
        if (m_shownId)
            m_model.setTucked(*m_shownId, index == 1);
    });
    layout->addWidget(m_place);

    m_float = new QCheckBox(tr("Float above other windows"), holder);
    followTheme(m_float);
    callOnClick(m_float, &AppModel::togglePinned);
    layout->addWidget(m_float);

    m_trayNotice = new ThemeLabel(tr("The notch tray is off. Turn it on in Settings › Notch to see this note there."),
                                  Fonts::caption(), Theme::urgency(Urgency::soon), 0, holder);
    layout->addWidget(m_trayNotice);
    return holder;
}

QWidget *Inspector::makeActionRow(QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = row(holder);
    m_done = new QuietButton({}, holder);
    callOnClick(m_done, &AppModel::toggleDone);
    layout->addWidget(m_done);
    layout->addStretch();
    m_trash = new QuietButton({}, holder);
    m_trash->setSymbol(QStringLiteral("trash"));
    m_trash->setHelp(tr("Delete"));
    connect(m_trash, &QAbstractButton::clicked, this, [this] {
        if (m_shownId)
            m_model.deleteNotes({*m_shownId});
    });
    layout->addWidget(m_trash);
    return holder;
}

QWidget *Inspector::makeDeletedControls(QWidget *parent)
{
    m_deleted = new QWidget(parent);
    auto *layout = column(m_deleted, 16);
    m_deletedNotice = new ThemeLabel({}, Fonts::caption(), Theme::ink2, 0, m_deleted);
    layout->addWidget(m_deletedNotice);

    auto *buttons = new QWidget(m_deleted);
    auto *buttonRow = row(buttons);
    m_restore = new PrimaryButton(Theme::accent, tr("Restore"), buttons);
    callOnClick(m_restore, &AppModel::restore);
    buttonRow->addWidget(m_restore);
    m_deleteForever = new QuietButton(tr("Delete Forever"), buttons);
    callOnClick(m_deleteForever, &AppModel::deleteForever);
    buttonRow->addWidget(m_deleteForever);
    buttonRow->addStretch();
    layout->addWidget(buttons);
    return m_deleted;
}

void Inspector::callOnClick(QAbstractButton *button, void (AppModel::*operation)(const QUuid &))
{
    connect(button, &QAbstractButton::clicked, this, [this, operation] {
        if (m_shownId)
            (m_model.*operation)(*m_shownId);
    });
}

void Inspector::refresh()
{
    const std::optional<QUuid> selection = m_model.selection();
    const std::optional<StickyNote> note = selection ? m_model.book()[*selection] : std::nullopt;
    if (!note) {
        m_shownId.reset();
        m_pages->setCurrentWidget(m_hint);
        return;
    }
    if (m_shownId != note->id)
        m_scroll->verticalScrollBar()->setValue(0);
    m_shownId = note->id;
    showNote(*note);
    m_pages->setCurrentWidget(m_scroll);
}

void Inspector::showNote(const StickyNote &note)
{
    const Date now = m_model.now();
    m_paper->setColor(note.color);
    m_tape->setCountdown(note.isLive() ? Countdowns::primary(note, now) : std::nullopt);
    m_tape->setPaper(note.color);

    m_editor->setPaper(note.color);
    m_editor->showText(note.text);
    m_editor->setReadOnly(note.isDeleted());

    {
        const QSignalBlocker quiet(m_dots);
        m_dots->setSelection(note.color);
    }

    m_deleted->setVisible(note.isDeleted());
    m_live->setVisible(!note.isDeleted());
    if (note.isDeleted()) {
        m_deletedNotice->setText(
            tr("Deleted %1. It goes for good after 30 days.").arg(when(note.deletedAt.value_or(now), now, m_model.calendar())));
        return;
    }
    showTimer(note);
    showDeadline(note);
    showPlace(note);
    m_done->setText(note.isDone() ? tr("Not Done") : tr("Mark Done"));
    m_dates->setText(tr("Made %1 · edited %2").arg(when(note.created, now, m_model.calendar()), when(note.edited, now, m_model.calendar())));
}

void Inspector::showTimer(const StickyNote &note)
{
    m_timerRow->setVisible(note.timer.has_value());
    m_timerLink->setText(note.timer ? tr("Change…") : tr("Add a Timer…"));
    if (!note.timer)
        return;
    const Date now = m_model.now();
    m_timerState = note.timer->state(now);
    m_timerText->setText(m_timerState == NoteTimer::State::finished
                             ? tr("Finished")
                             : tr("%1 of %2").arg(TimeText::clock(note.timer->remaining(now)),
                                                  TimeText::span(note.timer->duration)));
    m_startPause->setText(m_timerState == NoteTimer::State::running ? tr("Pause") : tr("Start"));
}

void Inspector::showDeadline(const StickyNote &note)
{
    m_deadlineRow->setVisible(note.deadline.has_value());
    m_deadlineLink->setText(note.deadline ? tr("Change…") : tr("Set a Deadline…"));
    if (!note.deadline)
        return;
    const Date now = m_model.now();
    m_deadlineText->setText(when(*note.deadline, now, m_model.calendar()));
    m_deadlineStatus->setText(TimeText::left(*note.deadline - now));
    m_deadlineStatus->setColor(*note.deadline <= now ? Theme::urgency(Urgency::over) : Theme::ink2);
}

void Inspector::showPlace(const StickyNote &note)
{
    m_place->setCurrent(note.tucked ? 1 : 0);
    m_float->setChecked(note.pinned);
    m_float->setEnabled(!note.tucked);
    m_trayNotice->setVisible(note.tucked && !m_model.trayEnabled());
}

void Inspector::startOrPause()
{
    if (!m_shownId)
        return;
    if (m_timerState == NoteTimer::State::running)
        m_model.pauseTimer(*m_shownId);
    else
        m_model.startTimer(*m_shownId);
}

bool Inspector::openPicker(PopoverRequest::Kind kind)
{
    const std::optional<StickyNote> note = m_shownId ? m_model.book()[*m_shownId] : std::nullopt;
    if (!note || note->isDeleted())
        return false;
    switch (kind) {
    case PopoverRequest::Kind::timer: openTimerPicker(); return true;
    case PopoverRequest::Kind::deadline: openDeadlinePicker(); return true;
    case PopoverRequest::Kind::color: return false;
    }
    return false;
}

void Inspector::openTimerPicker()
{
    if (!m_shownId || m_timerPopover)
        return;
    auto *picker = new TimerPicker(m_model, *m_shownId, [this] {
        if (m_timerPopover)
            m_timerPopover->close();
    });
    m_timerPopover = new Popover(picker, this);
    m_scroll->ensureWidgetVisible(m_timerLink);
    m_timerPopover->popup(m_timerLink);
}

void Inspector::openDeadlinePicker()
{
    if (!m_shownId || m_deadlinePopover)
        return;
    auto *picker = new DeadlinePicker(m_model, *m_shownId, [this] {
        if (m_deadlinePopover)
            m_deadlinePopover->close();
    });
    m_deadlinePopover = new Popover(picker, this);
    m_scroll->ensureWidgetVisible(m_deadlineLink);
    m_deadlinePopover->popup(m_deadlineLink);
}

void Inspector::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Theme::sidebar.resolved(this));
}
