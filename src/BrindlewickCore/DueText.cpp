#include "DueText.h"

#include "TimeText.h"

const QString &DueText::of(Date deadline, Date now, const Calendar &calendar, const QLocale &locale)
{
    if (holds(deadline, now, calendar, locale))
        return m_text;
    m_made = Made{deadline, calendar.startOfDay(now), calendar.startOfNextDay(now), calendar, locale};
    const TimeText::DueParts parts = TimeText::dueParts(deadline, now, calendar, locale);
    m_text = parts.full();
    m_brief = parts.brief();
    return m_text;
}

bool DueText::holds(Date deadline, Date now, const Calendar &calendar, const QLocale &locale) const
{
    return m_made && m_made->deadline == deadline && now >= m_made->dayStart && now < m_made->dayEnd &&
           m_made->calendar == calendar && m_made->locale == locale;
}
