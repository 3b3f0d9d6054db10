#pragma once

#include <QAbstractButton>

class QPainter;

// A button that paints itself: a label of an optional symbol followed by optional text, drawn by
// each style over its own background. The whole widget takes clicks.
class StyledButton : public QAbstractButton {
    Q_OBJECT
public:
    using QAbstractButton::QAbstractButton;

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &name);
    // Sets the tooltip and the accessibility label to the same words, as icon-only buttons need.
    void setHelp(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    // The label's font and the padding around it; sizeHint() is built from them.
    virtual QFont labelFont() const = 0;
    virtual QMarginsF labelPadding() const = 0;

    QSizeF labelSize() const;
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &color) const;

private:
    qreal symbolPoints() const;

    QString m_symbol;
};
