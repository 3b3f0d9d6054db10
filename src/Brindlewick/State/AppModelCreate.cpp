#include "AppModel.h"

#include "QuickParse.h"

namespace {

constexpr double duplicateOffset = 28;

} // namespace

QUuid AppModel::newNote(const QString &text, std::optional<NoteColor> color, std::optional<double> timer,
                        bool startTimer, std::optional<Date> deadline, bool tucked, std::optional<QRectF> frame)
{
    const Date at = clock();
    StickyNote note(QUuid::createUuid(), text, color.value_or(m_defaultColor), at);
    note.pinned = m_newNotesFloat;
    note.tucked = tucked;
    if (frame)
        note.frame = NoteFrame::fromRect(*frame);
    if (timer) {
        note.timer = NoteTimer(*timer);
        if (startTimer)
            note.timer->start(at);
    }
    if (deadline)
        note.setDeadline(deadline, at);
    m_book.notes.append(note);
    emit bookChanged();
    setNotesHidden(false);
    scheduleSave();
    if (note.hasTime())
        reschedule();
    return note.id;
}

std::optional<QUuid> AppModel::quickNote(const QString &line, std::optional<NoteColor> color, bool tucked)
{
    const QuickNote parsed = QuickParse::parse(line, clock(), m_calendar);
    if (parsed.text.isEmpty())
        return std::nullopt;
    return newNote(parsed.text, color, parsed.timer, true, parsed.deadline, tucked);
}

std::optional<QUuid> AppModel::duplicate(const QUuid &id)
{
    const std::optional<StickyNote> source = m_book[id];
    if (!source)
        return std::nullopt;
    const QUuid copy = newNote(source->text, source->color, std::nullopt, false, std::nullopt, source->tucked);
    edit(copy, {}, [&](StickyNote &note) {
        note.pinned = source->pinned;
        if (source->timer)
            note.timer = NoteTimer(source->timer->duration);
        if (source->deadline)
            note.setDeadline(source->deadline, clock());
        if (source->frame) {
            NoteFrame frame = *source->frame;
            frame.x += duplicateOffset;
            frame.y -= duplicateOffset;
            note.frame = frame;
        }
    });
    if (source->hasTime())
        reschedule();
    return copy;
}

void AppModel::finishWelcome(bool tray)
{
    setTrayEnabled(tray);
    m_defaults.setBool(SettingsKeys::welcomeDone, true);
    setShowWelcome(false);
    emit welcomeFinished();
    if (!m_book.notes.isEmpty())
        return;
    newNote(tr("Welcome to Brindlewick 👋\n"
               "Type anything here. ⏱ adds a timer and ⚑ a deadline: the tape at the top counts down.\n"
               "Quick Note: press Ctrl+Alt+N anywhere and type “tea 4m”."),
            NoteColor::lemon);
}
