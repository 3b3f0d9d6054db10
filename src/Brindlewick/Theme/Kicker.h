#pragma once

#include "Color.h"

#include <QWidget>

// A small heading: the text in capitals, in the monospaced label font with wide tracking, on one line.
class Kicker : public QWidget {
    Q_OBJECT
public:
    Kicker(const QString &text, Color color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The text as shown: upper case.
    QString shownText() const { return m_text.toUpper(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QFont font();

    QString m_text;
    Color m_color;
};
