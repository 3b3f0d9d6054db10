#pragma once

#include "Color.h"

#include <QFont>

#include <QWidget>

// One named symbol in a theme colour, centred in its box.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(const QString &symbol, qreal points, Color color, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    qreal points() const { return m_points; }
    void setPoints(qreal points);
    Color color() const { return m_color; }
    void setColor(Color color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    qreal m_points;
    Color m_color;
};

// A symbol followed by one line of text, both in `color`: status lines such as "On". Assistive
// technologies read the text.
QWidget *symbolLine(const QString &symbol, const QString &text, const QFont &font, Color color);
