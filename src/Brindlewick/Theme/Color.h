#pragma once

#include "Appearance.h"

#include <QColor>
#include <QtGlobal>

class QWidget;

// One colour for each appearance, as two opaque sRGB values 0xRRGGBB. It is resolved each time it is
// painted, against the appearance of the widget being painted, never when it is made.
class Color {
public:
    constexpr Color(quint32 light, quint32 dark) : m_light(light & 0xFFFFFF), m_dark(dark & 0xFFFFFF) {}
    // The same sRGB value in both appearances.
    static constexpr Color fixed(quint32 rgb) { return Color(rgb, rgb); }

    constexpr quint32 light() const { return m_light; }
    constexpr quint32 dark() const { return m_dark; }

    QColor resolved(Scheme scheme, qreal opacity = 1.0) const;
    QColor resolved(const QWidget *widget, qreal opacity = 1.0) const;

    constexpr bool operator==(const Color &) const = default;

private:
    quint32 m_light;
    quint32 m_dark;
};
