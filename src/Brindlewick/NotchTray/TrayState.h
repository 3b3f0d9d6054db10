#pragma once

#include "TrayGeometry.h"

#include <QObject>
#include <QSizeF>
#include <QUuid>
#include <optional>

// What the tray is doing: resting at the top edge, dropped open with the tucked notes, or dropped
// to announce one ringing tucked note. Two banners are equal only for the same note.
struct TrayMode {
    enum class Kind { banner, resting, open };

    Kind kind = Kind::resting;
    // The ringing note, in the banner mode only.
    QUuid note;

    static TrayMode resting() { return {}; }
    static TrayMode open() { return {Kind::open, {}}; }
    static TrayMode banner(const QUuid &id) { return {Kind::banner, id}; }

    bool isResting() const { return kind == Kind::resting; }
    bool isOpen() const { return kind == Kind::open; }
    bool isBanner() const { return kind == Kind::banner; }

    bool operator==(const TrayMode &) const = default;
};

// The tray's mode and measured screen, which its views draw from. Each setter announces a change
// only when the value differs, so nothing is redrawn for an unchanged mode.
class TrayState : public QObject {
    Q_OBJECT

public:
    // The housing a forced notch puts in the top middle of the screen, as on a 14-inch laptop.
    static constexpr QSizeF forcedNotchSize{185, 32};

    explicit TrayState(QObject *parent = nullptr);

    const TrayMode &mode() const { return m_mode; }
    void setMode(const TrayMode &mode);
    const TrayGeometry &geometry() const { return m_geometry; }
    void setGeometry(const TrayGeometry &geometry);

    // The size of the tray shape in the current mode; ears widen the resting shape on a notch.
    QSizeF size(bool showingEars) const;
    // Where the shape of the current mode stands on the screen, y up.
    QRectF rect(bool showingEars) const;

    // Measures the primary screen now, below any panel along its top edge. Linux reports no camera
    // housing, so the tray hangs from a strip in the top middle of the work area; without a screen, a
    // 1512 × 982 one with a 950-high visible frame.
    static TrayGeometry currentGeometry();
    // true adds a housing to the measured screen, false takes any away, nullopt measures as it is;
    // for harnesses that draw the notched tray.
    static void forceNotch(std::optional<bool> notch);

signals:
    void modeChanged();
    void geometryChanged();

private:
    TrayMode m_mode;
    TrayGeometry m_geometry;
};
