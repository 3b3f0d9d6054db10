#pragma once

#include "Appearance.h"
#include "Countdown.h"
#include "NoteColor.h"

#include <QWidget>
#include <optional>

// A note's timer or deadline as a strip of torn tape: a pale track; a fill in the urgency's colour
// whose length is the share of time left (faint and full for a timer not running, full and hatched
// once over); a centred symbol and short text that read in the tint colour over the fill and in the
// paper's ink beyond it. Takes all the width offered and exactly `height` points of height. It is
// one accessibility element whose label is the countdown's spoken text.
class TimeTape : public QWidget {
    Q_OBJECT
public:
    // What a tape of a given size shows of its countdown: the numbers its texts are made of (the
    // label is fitted from them), the urgency that picks its colours, and the fill's reach in whole
    // device pixels. Cheap to work out; a tape repaints only when this changes, so a deadline hours
    // away repaints once a minute, a stopped timer never.
    struct Face {
        std::optional<Countdown::TextKey> text;
        Urgency urgency = Urgency::calm;
        int fillPixels = 0;

        bool operator==(const Face &) const = default;
    };
    static Face face(const std::optional<Countdown> &countdown, const QSizeF &size, qreal pixelRatio);

    TimeTape(std::optional<Countdown> countdown, NoteColor paper, qreal height, bool showsText,
             QWidget *parent = nullptr);

    const std::optional<Countdown> &countdown() const { return m_countdown; }
    void setCountdown(std::optional<Countdown> countdown);
    NoteColor paper() const { return m_paper; }
    void setPaper(NoteColor paper);
    qreal tapeHeight() const { return m_height; }
    // Seconds from now for which the fill keeps its reach in whole device pixels: 0 for a running
    // timer, forever for a fill that stands still or is held at its shortest.
    double fillSteadyFor() const;
    bool showsText() const { return m_showsText; }

    QSize sizeHint() const override;

    // The tape as it paints into `rect` (its height is the tape's height), turned by `degrees` about
    // the rect's centre, with its drop shadow falling just below: for views that draw it themselves.
    static void paint(QPainter &painter, const QRectF &rect, const std::optional<Countdown> &countdown,
                      NoteColor paper, bool showsText, Scheme scheme, qreal degrees = 0);
    // How far the coloured fill reaches from the leading edge: the whole width once over, else
    // the share of time left but never less than 0.6 × height.
    static qreal fillWidth(const Countdown &countdown, qreal width, qreal height);
    // The short text as the label of a tape of `size` shows it: shrunk down to 0.6 of its size where
    // that makes it fit, cut with an ellipsis where even that is too wide.
    static QString labelText(const Countdown &countdown, const QSizeF &size);
    // The label's symbol: "pause.fill", "bell.fill", "timer", "exclamationmark" or "flag.fill".
    static QString symbolName(const Countdown &countdown);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Where the tape lies in the widget, and how far it is turned about its centre.
    virtual QRectF tapeArea() const;
    virtual qreal tilt() const { return 0; }
    // Repaints when what the tape shows differs from its last paint.
    void updateFace();

private:
    void updateAccessibleName();

    Face m_face;
    qreal m_paintedRatio = 1;

    std::optional<Countdown> m_countdown;
    NoteColor m_paper;
    qreal m_height;
    bool m_showsText;
};
