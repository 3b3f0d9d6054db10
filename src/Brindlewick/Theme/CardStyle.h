#pragma once

#include <QWidget>

class QVBoxLayout;

// The card surface: content with even padding on a Theme::card rounded rectangle with a hairline
// border. The content is not clipped.
class CardStyle : public QWidget {
    Q_OBJECT
public:
    explicit CardStyle(qreal padding, QWidget *parent = nullptr);

    qreal padding() const { return m_padding; }
    // The layout that holds the card's content, inset by the padding.
    QVBoxLayout *contentLayout() const { return m_layout; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_padding;
    QVBoxLayout *m_layout;
};

// Wraps `content` in a new card with `padding` on every side; put the card where the content would go.
CardStyle *card(QWidget *content, qreal padding);
