#include "SegmentedPicker.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

namespace {

constexpr int pickerHeight = 26;
constexpr int inset = 2;
constexpr qreal outerRadius = 7;
constexpr qreal segmentRadius = 5;

class Segment : public QAbstractButton {
public:
    Segment(const QString &title, QWidget *parent) : QAbstractButton(parent)
    {
        setText(title);
        setCheckable(true);
        setAutoExclusive(true);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    }

    QSize sizeHint() const override
    {
        return QSize(qCeil(QFontMetricsF(Fonts::body()).horizontalAdvance(text())) + 20, pickerHeight - 2 * inset);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (isChecked()) {
            RoundedShape::fill(painter, rect(), segmentRadius, Theme::card.resolved(this));
            RoundedShape::strokeInside(painter, rect(), segmentRadius, Theme::hairline.resolved(this), 1);
        }
        painter.setFont(Fonts::body());
        painter.setPen((isChecked() ? Theme::ink : Theme::ink2).resolved(this, isDown() ? 0.6 : 1.0));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
        FocusRing::paint(painter, this, rect(), segmentRadius, Theme::ink.resolved(this));
    }
};

} // namespace

SegmentedPicker::SegmentedPicker(const QStringList &titles, QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(inset, inset, inset, inset);
    row->setSpacing(inset);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        auto *segment = new Segment(titles[i], this);
        connect(segment, &QAbstractButton::clicked, this, [this, i] { emit picked(int(i)); });
        row->addWidget(segment, 1);
        m_segments.append(segment);
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int SegmentedPicker::current() const
{
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        if (m_segments[i]->isChecked())
            return int(i);
    }
    return -1;
}

void SegmentedPicker::setCurrent(int index)
{
    m_segments.at(index)->setChecked(true);
}

QSize SegmentedPicker::sizeHint() const
{
    return QSize(layout()->sizeHint().width(), pickerHeight);
}

void SegmentedPicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), outerRadius, Theme::well.resolved(this));
}
