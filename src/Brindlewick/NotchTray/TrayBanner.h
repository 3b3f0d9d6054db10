#pragma once

#include "Date.h"
#include "StickyNote.h"
#include "TrayGeometry.h"

#include <QUuid>
#include <QWidget>
#include <functional>
#include <optional>

class AppModel;
class Kicker;
class SymbolLabel;
class ThemeLabel;

// The banner a ringing tucked note drops from the tray: a red bell, why it rings, the note's title,
// and "+5 min", "Done" and "Open". The first two answer the note and return the tray to rest; "Open"
// shows the note under the tray and leaves the banner to the tray's pointer poll.
class TrayBanner : public QWidget {
    Q_OBJECT
public:
    // `close` returns the tray to rest.
    TrayBanner(AppModel &model, const QUuid &id, const TrayGeometry &geometry, std::function<void()> close,
               QWidget *parent = nullptr);

    // "Time’s up" for a timer that ran out, else "Due now" for an arrived deadline, else "Time’s up";
    // empty for a note that no longer exists.
    static QString heading(const std::optional<StickyNote> &note, Date now);

    QString headingText() const;
    QString titleText() const;
    // The bell bounces once, unless the desktop wants no animations: another note rang meanwhile.
    void bounceBell();

private:
    void refresh();

    AppModel &m_model;
    QUuid m_id;
    std::function<void()> m_close;
    SymbolLabel *m_bell;
    Kicker *m_heading;
    ThemeLabel *m_title;
};
