#pragma once

#include "Color.h"

#include <QFont>
#include <QWidget>

// A symbol followed by one line of text, both in one colour token: status lines such as "On".
// Its accessibility label is the text. Without text the symbol alone is centred in the label.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(const QString &symbol, const QString &text, const QFont &font, Color color, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    QString text() const { return m_text; }
    Color color() const { return m_color; }
    void setSymbol(const QString &symbol, Color color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal symbolWidth() const;

    QString m_symbol;
    QString m_text;
    QFont m_font;
    Color m_color;
};
