#pragma once

#include "Countdown.h"
#include "NoteColor.h"

#include <QWidget>
#include <optional>

// A countdown tape of a fixed size, turned a few degrees about its centre, as the library lays its
// tapes on cards and headings. Without a countdown it shows only the pale track. The widget keeps a
// small margin around the tape for the tilt and the shadow.
class SlantedTape : public QWidget {
    Q_OBJECT
public:
    static constexpr int margin = 3;

    SlantedTape(QSizeF tape, qreal degrees, NoteColor paper, QWidget *parent = nullptr);

    const std::optional<Countdown> &countdown() const { return m_countdown; }
    NoteColor paper() const { return m_paper; }
    void setCountdown(const std::optional<Countdown> &countdown, NoteColor paper);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The tape painted into `tape`, turned by `degrees` about the rect's centre.
    static void paint(QPainter &painter, const QRectF &tape, qreal degrees, const std::optional<Countdown> &countdown,
                      NoteColor paper, const QWidget *widget);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF m_tape;
    qreal m_degrees;
    NoteColor m_paper;
    std::optional<Countdown> m_countdown;
};
