#include "ChoiceCard.h"

#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int padding = 12;
constexpr qreal cornerRadius = 12;
constexpr qreal ringWidth = 2;

const QString selectedMark = QStringLiteral("largecircle.fill.circle");
const QString emptyMark = QStringLiteral("circle");

constexpr qreal markPoints = 15;

} // namespace

ChoiceCard::ChoiceCard(const QString &title, const QString &detail, QWidget *parent)
    : QAbstractButton(parent), m_mark(new SymbolLabel(emptyMark, markPoints, Theme::ink3))
{
    setCheckable(true);
    setText(title);
    setAccessibleName(title);
    setAccessibleDescription(detail);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(new ThemeLabel(title, Fonts::title(), Theme::ink));
    texts->addWidget(new ThemeLabel(detail, Fonts::caption(), Theme::ink2, 0));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(10);
    row->addWidget(m_mark, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    for (QWidget *child : findChildren<QWidget *>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        m_mark->setSymbol(on ? selectedMark : emptyMark);
        m_mark->setColor(on ? Theme::accent : Theme::ink3);
        update();
    });
}

void ChoiceCard::setSelected(bool selected)
{
    setChecked(selected);
}

QSize ChoiceCard::sizeHint() const
{
    return layout()->sizeHint();
}

int ChoiceCard::heightForWidth(int width) const
{
    return layout()->heightForWidth(width);
}

void ChoiceCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), cornerRadius, Theme::card.resolved(this));
    RoundedShape::strokeInside(painter, rect(), cornerRadius, Theme::hairline.resolved(this), 1);
    if (isChecked())
        RoundedShape::strokeInside(painter, rect(), cornerRadius, Theme::accent.resolved(this), ringWidth);
    // Inside the selection's ring, so the keyboard's place shows on a chosen card too.
    FocusRing::paint(painter, this, QRectF(rect()).adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth),
                     cornerRadius - ringWidth, Theme::ink.resolved(this));
}
