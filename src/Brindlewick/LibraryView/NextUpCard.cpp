#include "NextUpCard.h"

#include "Theme/ThemeLabel.h"

#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/Kicker.h"
#include "Theme/Paper.h"
#include "Theme/ReturnPress.h"
#include "Theme/RoundedShape.h"
#include "Theme/Theme.h"
#include "Theme/TimeTape.h"

#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int padding = 10;
constexpr int spacing = 6;
constexpr qreal cornerRadius = 9;
constexpr qreal tapeHeight = 18;

} // namespace

NextUpCard::NextUpCard(QWidget *parent)
    : QAbstractButton(parent),
      m_nextUp(new Kicker(tr("Next up"), Theme::ink3, this)),
      m_overdue(new Kicker(tr("Overdue"), Theme::ink3, this)),
      m_title(new ThemeLabel({}, Fonts::bodyMedium(), Paper::ink(NoteColor::lemon), 2, this)),
      m_tape(new TimeTape(std::nullopt, NoteColor::lemon, tapeHeight, true, this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(spacing);
    column->addWidget(m_nextUp);
    column->addWidget(m_overdue);
    column->addWidget(m_title);
    column->addWidget(m_tape);
    for (QWidget *child : {static_cast<QWidget *>(m_nextUp), static_cast<QWidget *>(m_overdue),
                           static_cast<QWidget *>(m_title), static_cast<QWidget *>(m_tape)})
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_overdue->hide();
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setCursor(Qt::PointingHandCursor);
}

void NextUpCard::setSoonest(const NoteList::NoteCountdown &soonest)
{
    if (soonest == m_shown)
        return;
    m_shown = soonest;
    m_nextUp->setVisible(!isOverdue());
    m_overdue->setVisible(isOverdue());
    m_title->setText(soonest.note.title());
    m_title->setColor(Paper::ink(soonest.note.color));
    m_tape->setCountdown(soonest.countdown);
    m_tape->setPaper(soonest.note.color);
    setAccessibleName(QStringLiteral("%1, %2, %3").arg(kickerText(), soonest.note.title(), soonest.countdown.spokenText()));
    update();
}

bool NextUpCard::isOverdue() const
{
    return m_shown.countdown.urgency == Urgency::over;
}

QString NextUpCard::kickerText() const
{
    return isOverdue() ? m_overdue->text() : m_nextUp->text();
}

QStringList NextUpCard::titleLines() const
{
    return m_title->shownLines();
}

int NextUpCard::heightForWidth(int width) const
{
    return layout()->totalHeightForWidth(width);
}

void NextUpCard::keyPressEvent(QKeyEvent *event)
{
    if (!ReturnPress::clicks(*this, *event))
        QAbstractButton::keyPressEvent(event);
}

void NextUpCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), cornerRadius, Paper::fill(m_shown.note.color).resolved(this));
    FocusRing::paint(painter, this, rect(), cornerRadius, Paper::ink(m_shown.note.color).resolved(this));
}
