#include "PickerFrame.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int rowSpacing = 12;

} // namespace

namespace PickerFrame {

QVBoxLayout *column(QWidget *picker)
{
    auto *layout = new QVBoxLayout(picker);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(rowSpacing);
    return layout;
}

QWidget *buttonRow(QAbstractButton *remove, QAbstractButton *primary, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    if (remove)
        layout->addWidget(remove);
    layout->addStretch();
    layout->addWidget(primary);
    return row;
}

} // namespace PickerFrame
