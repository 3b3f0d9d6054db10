#include "RingBar.h"

#include "App/AppModel.h"
#include "NoteFace.h"
#include "Theme/Fonts.h"
#include "Theme/RingButton.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int barHeight = 34;
constexpr double snoozeSeconds = 300;
constexpr qreal paperRadius = 7;

QLabel *whiteLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

} // namespace

RingBar::RingBar(AppModel &model, const QUuid &id, QWidget *parent) : QWidget(parent), m_model(model), m_id(id)
{
    setFixedHeight(barHeight);
    m_bell = whiteLabel(Symbols::glyph(u"bell.fill"), Symbols::font(11), this);
    m_bell->setAccessibleName(tr("Ringing"));
    m_title = whiteLabel(QString(), Fonts::system(12, QFont::Bold, Fonts::Design::rounded), this);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(9, 0, 9, 0);
    row->setSpacing(5);
    row->addWidget(m_bell);
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
