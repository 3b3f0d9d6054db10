#include "TrayBanner.h"

#include "TrayCard.h"

#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/Fonts.h"
#include "Theme/Kicker.h"
#include "Theme/RingButton.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QEasingCurve>
#include <QHBoxLayout>
#include <QVariantAnimation>
#include <QVBoxLayout>

namespace {

constexpr double fiveMinutes = 300;
constexpr int topWithoutNotch = 4;
constexpr int sidePadding = 16;
constexpr int bounceMilliseconds = 350;
constexpr int bounceHeight = 4;

} // namespace

TrayBanner::TrayBanner(AppModel &model, const QUuid &id, const TrayGeometry &geometry, std::function<void()> close,
                       QWidget *parent)
    : QWidget(parent), m_model(model), m_id(id), m_close(std::move(close)),
      m_bell(new SymbolLabel(QStringLiteral("bell.fill"), 14, Theme::alarm)),
      m_heading(new Kicker(QString(), Theme::alarm)),
      m_title(new ThemeLabel(QString(), Fonts::title(), Color::fixed(0xFFFFFF)))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, geometry.hasNotch ? int(geometry.notch.height()) : topWithoutNotch, 0, 0);
    column->setSpacing(0);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(sidePadding, 0, sidePadding, 0);
    row->setSpacing(10);
    column->addLayout(row, 1);

    row->addWidget(m_bell);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addStretch();
    texts->addWidget(m_heading);
    texts->addWidget(m_title);
    texts->addStretch();
    row->addLayout(texts, 1);
    row->addSpacing(6);

    auto *snooze = new RingButton(tr("+5 min"));
    auto *done = new RingButton(tr("Done"));
    auto *open = new RingButton(tr("Open"), true);
    for (RingButton *button : {snooze, done, open}) {
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
    }
    connect(snooze, &QAbstractButton::clicked, this, [this] {
        m_model.snooze(m_id, fiveMinutes);
        m_close();
    });
    connect(done, &QAbstractButton::clicked, this, [this] {
        m_model.toggleDone(m_id);
        m_close();
    });
    connect(open, &QAbstractButton::clicked, this, [this] { TrayCard::open(m_model, m_id); });
    connect(&m_model, &AppModel::bookChanged, this, &TrayBanner::refresh);
    // "Due now" turns to "Time’s up" when a timer runs out while the banner is up.
    connect(&m_model, &AppModel::nowChanged, this, &TrayBanner::refresh);
    refresh();
}

QString TrayBanner::heading(const std::optional<StickyNote> &note, Date now)
{
    if (!note)
        return {};
    if (note->timer && note->timer->endsAt && *note->timer->endsAt <= now)
        return tr("Time’s up");
    if (note->deadline && *note->deadline <= now)
        return tr("Due now");
    return tr("Time’s up");
}

void TrayBanner::bounceBell()
{
    if (Appearance::reduceMotion())
        return;
    auto *bounce = new QVariantAnimation(m_bell);
    bounce->setDuration(bounceMilliseconds);
    bounce->setKeyValueAt(0, 0);
    bounce->setKeyValueAt(0.4, -bounceHeight);
    bounce->setKeyValueAt(1, 0);
    bounce->setEasingCurve(QEasingCurve::OutQuad);
    const QPoint rest = m_bell->pos();
    connect(bounce, &QVariantAnimation::valueChanged, m_bell,
            [this, rest](const QVariant &lift) { m_bell->move(rest + QPoint(0, lift.toInt())); });
    bounce->start(QAbstractAnimation::DeleteWhenStopped);
}

QString TrayBanner::headingText() const
{
    return m_heading->text();
}

QString TrayBanner::titleText() const
{
    return m_title->text();
}

void TrayBanner::refresh()
{
    const std::optional<StickyNote> note = m_model.book()[m_id];
    m_heading->setText(heading(note, m_model.now()));
    m_title->setText(note ? note->title() : QString());
}
