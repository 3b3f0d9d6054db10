#include "DemoWorld.h"

#include "DemoData.h"

#include "State/RecordingNotifier.h"
#include "State/SettingsStore.h"

#include <QDir>

DemoWorld::DemoWorld(const QString &root)
    : m_start(DemoData::frozenNow()),
      m_model(Paths{QDir(root).filePath(QStringLiteral("data"))}, SettingsStore::demo(),
              std::make_unique<RecordingNotifier>())
{
    DemoData::prepare(m_model, root, m_start, true);
    for (const StickyNote &note : m_model.book().notes)
        m_ids.append(note.id);
    m_model.start();
}

QUuid DemoWorld::id(int number) const
{
    return m_ids.value(number - 1);
}

StickyNote DemoWorld::note(int number) const
{
    return note(id(number));
}

StickyNote DemoWorld::note(const QUuid &id) const
{
    return m_model.book()[id].value_or(StickyNote());
}
