#include "FrameOrigin.h"

#include "ScreenSpace.h"

namespace {

const QString key = QStringLiteral("noteFramesOrigin");

std::optional<QPoint> parsed(const std::optional<QString> &text)
{
    const QStringList parts = text.value_or(QString()).split(QLatin1Char(','));
    bool x = false;
    bool y = false;
    const QPoint point(parts.value(0).toInt(&x), parts.value(1).toInt(&y));
    return parts.size() == 2 && x && y ? std::optional(point) : std::nullopt;
}

} // namespace

FrameOrigin::FrameOrigin(SettingsStore settings)
    : m_settings(std::move(settings)), m_kept(parsed(m_settings.stringValue(key)))
{
}

std::optional<NoteBook> FrameOrigin::follow(const NoteBook &book)
{
    const QPoint now = ScreenSpace::origin();
    if (m_kept == now)
        return std::nullopt;
    const std::optional<QPoint> before = m_kept;
    m_kept = now;
    m_settings.setString(key, QStringLiteral("%1,%2").arg(now.x()).arg(now.y()));
    if (!before)
        return std::nullopt;
    NoteBook moved = book;
    bool any = false;
    for (StickyNote &note : moved.notes) {
        if (note.frame) {
            note.frame = NoteFrame::fromRect(ScreenSpace::moved(note.frame->rect(), *before, now));
            any = true;
        }
    }
    return any ? std::optional(moved) : std::nullopt;
}
