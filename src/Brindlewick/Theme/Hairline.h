#pragma once

#include <QWidget>

// A one-point Theme::hairline rule between columns (vertical) or groups of rows (horizontal).
class Hairline : public QWidget {
    Q_OBJECT
public:
    explicit Hairline(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
