#include "RingBar.h"

#include "State/AppModel.h"
#include "NoteFace.h"
#include "Theme/Fonts.h"
#include "Theme/RingButton.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int barHeight = 34;
constexpr double snoozeSeconds = 300;
constexpr qreal paperRadius = 7;

constexpr Color white = Color::fixed(0xFFFFFF);

} // namespace

RingBar::RingBar(AppModel &model, const QUuid &id, QWidget *parent) : QWidget(parent), m_model(model), m_id(id)
{
    setFixedHeight(barHeight);
    auto *bell = new SymbolLabel(QStringLiteral("bell.fill"), 11, white, this);
    bell->setAccessibleName(tr("Ringing"));
    m_title = new ThemeLabel(QString(), Fonts::system(12, QFont::Bold, Fonts::Design::rounded), white, 1, this);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(9, 0, 9, 0);
    row->setSpacing(5);
    row->addWidget(bell);
    row->addWidget(m_title);
    row->addSpacing(2);
    row->addStretch();
    connect(addAnswer(tr("+5 min"), false), &QAbstractButton::clicked, this,
            [this] { m_model.snooze(m_id, snoozeSeconds); });
    connect(addAnswer(tr("Done"), false), &QAbstractButton::clicked, this, [this] { m_model.toggleDone(m_id); });
    connect(addAnswer(tr("OK"), true), &QAbstractButton::clicked, this, &RingBar::acknowledge);
}

RingButton *RingBar::addAnswer(const QString &text, bool strong)
{
    auto *button = new RingButton(text, strong, this);
    button->setAccessibleName(text);
    layout()->addWidget(button);
    return button;
}

void RingBar::refresh(const StickyNote &note, Date now)
{
    const bool timeUp = NoteFace::ringReason(note, now) == NoteFace::RingReason::timeUp;
    m_title->setText(timeUp ? tr("Time’s up") : tr("Due now"));
}

QString RingBar::title() const
{
    return m_title->text();
}

void RingBar::acknowledge()
{
    m_model.stopRinging(m_id);
}

// The bar lies along the bottom of the paper, so its lower corners follow the paper's.
void RingBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0, -paperRadius, 0, 0), paperRadius, paperRadius);
    painter.setClipRect(rect());
    painter.fillPath(shape, Theme::alarm.resolved(this));
}
