#pragma once

#include "Countdown.h"
#include "NoteColor.h"

#include <QList>
#include <QWidget>
#include <optional>

// Three small made-up notes fanned out side by side, each held up by a tape at another urgency.
// It lays out as one 150 × 150 card; the outer cards are drawn 150 to either side of the middle
// one, so give it the width they need.
class NoteFan : public QWidget {
    Q_OBJECT
public:
    struct Item {
        NoteColor paper;
        QString text;
        std::optional<Countdown> countdown;
    };

    static constexpr qreal cardSize = 150;

    explicit NoteFan(QWidget *parent = nullptr);
    explicit NoteFan(QList<Item> items, QWidget *parent = nullptr);

    // The welcome's three: a calm running timer, an urgent deadline and one 12 minutes overdue.
    static QList<Item> defaultItems();
    const QList<Item> &items() const { return m_items; }

    // Where card `index` lies, before its rotation about its centre.
    QRectF cardRect(int index) const;
    // Its rotation in degrees.
    qreal cardAngle(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintCard(QPainter &painter, const Item &item) const;

    QList<Item> m_items;
};
