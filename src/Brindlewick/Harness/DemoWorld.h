#pragma once

#include "State/AppModel.h"

#include <QString>
#include <QUuid>

// A model of the harnesses' own on a frozen demo world in `root`, loaded and started: the demo notes
// as of DemoData::frozenNow(), the clock standing still until advanced. The world's files stay until
// DemoData::remove.
class DemoWorld {
public:
    explicit DemoWorld(const QString &root);

    AppModel &model() { return m_model; }
    const AppModel &model() const { return m_model; }
    // The moment the world was made at.
    Date start() const { return m_start; }
    // Seconds since the world was made.
    double elapsed() const { return m_model.now() - m_start; }

    // The id of demo note `number` (1 to 10, as DemoNotes numbers them).
    QUuid id(int number) const;
    // The note as the model holds it now; an empty note once it is gone.
    StickyNote note(int number) const;
    StickyNote note(const QUuid &id) const;

private:
    Date m_start;
    AppModel m_model;
    QList<QUuid> m_ids;
};
