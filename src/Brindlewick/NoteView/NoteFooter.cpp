#include "NoteFooter.h"

#include "State/AppModel.h"
#include "DeadlineButton.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperIconButton.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>

namespace {

constexpr int footerHeight = 30;
constexpr double extraSeconds = 300;

QGraphicsOpacityEffect *fade(QWidget *widget)
{
    auto *effect = new QGraphicsOpacityEffect(widget);
    widget->setGraphicsEffect(effect);
    return effect;
}

// Every tick comes by here, and setting an effect's opacity, even to the same value, costs.
void setOpacity(QGraphicsOpacityEffect *effect, qreal opacity)
{
    if (effect->opacity() != opacity)
        effect->setOpacity(opacity);
}

} // namespace

NoteFooter::NoteFooter(AppModel &model, const QUuid &id, QWidget *parent) : QWidget(parent), m_model(model), m_id(id)
{
    setFixedHeight(footerHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(5, 0, 5, 4);
    row->setSpacing(2);

    m_addTimer = addIconButton(QStringLiteral("timer"), tr("Add a timer (Ctrl+T)"));
    m_addTimer->setAccessibleName(tr("Add a timer"));
    m_startPause = addIconButton(QStringLiteral("play.fill"), tr("Start"));
    m_addTime = addIconButton(QString(), tr("Add 5 minutes"));
    m_addTime->setText(QStringLiteral("+5"));
    m_addTime->setLabelFont(Fonts::unshaped(Fonts::system(11, QFont::Bold, Fonts::Design::rounded)));
    m_changeTimer = addIconButton(QStringLiteral("timer"), tr("Change the timer"));
    row->addStretch();
    row->addSpacing(4);
    m_deadline = new DeadlineButton(this);
    row->addWidget(m_deadline);

    m_addTimerFade = fade(m_addTimer);
    m_deadlineFade = fade(m_deadline);

    connect(m_addTimer, &QAbstractButton::clicked, this, &NoteFooter::timerRequested);
    connect(m_changeTimer, &QAbstractButton::clicked, this, &NoteFooter::timerRequested);
    connect(m_startPause, &QAbstractButton::clicked, this, &NoteFooter::startOrPause);
    connect(m_addTime, &QAbstractButton::clicked, this, [this] { m_model.addTime(m_id, extraSeconds); });
    connect(m_deadline, &QAbstractButton::clicked, this, &NoteFooter::deadlineRequested);
}

PaperIconButton *NoteFooter::addIconButton(const QString &symbol, const QString &help)
{
    auto *button = new PaperIconButton(symbol, Paper::ink(NoteColor::lemon), false, this);
    button->setHelp(help);
    layout()->addWidget(button);
    return button;
}

void NoteFooter::refresh(const StickyNote &note, Date now)
{
    const bool hasTimer = note.timer.has_value();
    m_running = hasTimer && note.timer->state(now) == NoteTimer::State::running;
    const TimerFace face{note.color, hasTimer, m_running};
    // Every tick comes here; the buttons change only with the face.
    if (face != m_timerFace) {
        m_timerFace = face;
        showTimer(face);
    }

    const QString due = note.deadline ? m_dueText.of(*note.deadline, now, m_model.calendar()) : QString();
    m_deadline->setDeadline(note.deadline, now, due, m_dueText.brief(), Paper::ink(note.color));
    applyOpacity();
}

void NoteFooter::showTimer(const TimerFace &face)
{
    const auto [color, hasTimer, running] = face;
    for (PaperIconButton *button : {m_addTimer, m_startPause, m_addTime, m_changeTimer})
        button->setInk(Paper::ink(color));
    m_addTimer->setVisible(!hasTimer);
    for (PaperIconButton *button : {m_startPause, m_addTime, m_changeTimer})
        button->setVisible(hasTimer);
    m_startPause->setSymbol(running ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"));
    m_startPause->setOn(running);
    m_startPause->setToolTip(running ? tr("Pause") : tr("Start"));
    m_startPause->setAccessibleName(running ? tr("Pause timer") : tr("Start timer"));
}

void NoteFooter::setControlsOpacity(qreal opacity)
{
    m_controlsOpacity = opacity;
    applyOpacity();
}

void NoteFooter::applyOpacity()
{
    setOpacity(m_addTimerFade, m_controlsOpacity);
    setOpacity(m_deadlineFade, m_deadline->hasDeadline() ? 1.0 : m_controlsOpacity);
}

QWidget *NoteFooter::timerAnchor() const
{
    return m_addTimer->isVisibleTo(this) ? static_cast<QWidget *>(m_addTimer) : m_changeTimer;
}

void NoteFooter::startOrPause()
{
    if (m_running)
        m_model.pauseTimer(m_id);
    else
        m_model.startTimer(m_id);
}
