#include "SegmentedPicker.h"

#include "Theme/ChipButton.h"
#include "Theme/Fonts.h"
#include "Theme/InkLabel.h"
#include "Theme/Theme.h"

#include <QHBoxLayout>

SegmentedPicker::SegmentedPicker(const QString &label, const QStringList &options, QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto *name = new InkLabel(label, Fonts::body(), Theme::ink);
    row->addWidget(name);
    row->addSpacing(8);
    for (int i = 0; i < options.size(); ++i) {
        auto *segment = new ChipButton(options[i]);
        segment->setCheckable(true);
        segment->setAccessibleName(options[i]);
        segment->setAccessibleDescription(label);
        connect(segment, &QAbstractButton::clicked, this, [this, i] {
            setCurrentIndex(i);
            emit activated(i);
        });
        m_segments.append(segment);
        row->addWidget(segment, 1);
    }
}

void SegmentedPicker::setCurrentIndex(int index)
{
    m_current = index;
    for (int i = 0; i < m_segments.size(); ++i) {
        m_segments[i]->setSelected(i == index);
        m_segments[i]->setChecked(i == index);
    }
}
