#include "TimeLocale.h"

#include <QtGlobal>

namespace TimeLocale {

QLocale fromSettings(const QByteArray &lcAll, const QByteArray &lcTime, const QByteArray &lang)
{
    QByteArray name = !lcAll.isEmpty() ? lcAll : !lcTime.isEmpty() ? lcTime : lang;
    // "en_GB.UTF-8@euro": the code set and modifier say nothing about the clock.
    name.truncate(name.indexOf('.') >= 0 ? name.indexOf('.') : name.size());
    name.truncate(name.indexOf('@') >= 0 ? name.indexOf('@') : name.size());
    if (name.isEmpty() || name == "C" || name == "POSIX")
        return QLocale::c();
    return QLocale(QString::fromLatin1(name));
}

QLocale current()
{
    return fromSettings(qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LANG"));
}

bool usesTwelveHourClock(const QLocale &locale)
{
    // Qt writes the AM/PM marker as "AP", "ap", "A" or "a"; quoted text is literal.
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'a' || c == u'A'))
            return true;
    }
    return false;
}

} // namespace TimeLocale
