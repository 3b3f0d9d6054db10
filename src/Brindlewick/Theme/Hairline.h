#pragma once

#include <QWidget>

// A 1-point separator in Theme::hairline, as wide as offered.
class Hairline : public QWidget {
    Q_OBJECT
public:
    explicit Hairline(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
