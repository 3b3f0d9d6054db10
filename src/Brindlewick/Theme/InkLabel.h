#pragma once

#include "Color.h"

#include <QLabel>

// A label whose text takes a colour token, resolved against its appearance each time it paints.
class InkLabel : public QLabel {
    Q_OBJECT
public:
    InkLabel(const QString &text, const QFont &font, Color color, QWidget *parent = nullptr);

    Color color() const { return m_color; }
    void setColor(Color color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Color m_color;
};
