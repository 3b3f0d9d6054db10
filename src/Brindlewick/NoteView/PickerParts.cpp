#include "PickerParts.h"

#include "Theme/Theme.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int padding = 16;
constexpr int rowSpacing = 12;

// A one-point hairline across the picker.
class Divider : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Theme::hairline.resolved(this)); }
};

} // namespace

namespace PickerParts {

QVBoxLayout *column(QWidget *picker)
{
    auto *layout = new QVBoxLayout(picker);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(rowSpacing);
    return layout;
}

QWidget *divider(QWidget *parent)
{
    auto *line = new Divider(parent);
    line->setFixedHeight(1);
    return line;
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

} // namespace PickerParts
