#pragma once

#include "Countdown.h"
#include "TrayGeometry.h"

#include <QWidget>
#include <optional>

class AppModel;
class NoteBook;

// What the resting tray shows inside its black shape. On a notch: two ears beside the housing, the
// count of tucked notes on the left and the most pressing countdown among them on the right (an
// accent dot when none has one), nothing without tucked notes. On the strip: one line of an icon,
// the count ("Brindlewick" when none) and the countdown. It repaints only when one of those changes,
// and is one button for assistive technologies. Clicks go to the tray view beneath.
class RestingTray : public QWidget {
    Q_OBJECT
public:
    RestingTray(AppModel &model, const TrayGeometry &geometry, QWidget *parent = nullptr);

    // How many live notes are tucked, counted without sorting them.
    static int tuckedCount(const NoteBook &book);
    // The strip's row as it shows, the icon left out: "2 notes · Overdue 4…".
    QString stripText() const;

    // A run of text or a symbol on the resting tray's line.
    struct Segment {
        QString text;
        QFont font;
        QColor color;
    };

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void paintEars(QPainter &painter) const;
    void paintStrip(QPainter &painter) const;
    QList<Segment> stripRow() const;
    QColor countdownColor() const;
    QString spokenLabel() const;

    AppModel &m_model;
    TrayGeometry m_geometry;
    int m_count = 0;
    // The most pressing countdown among the tucked notes, as shown.
    std::optional<Countdown> m_countdown;
};
