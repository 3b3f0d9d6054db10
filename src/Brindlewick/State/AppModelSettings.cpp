#include "AppModel.h"

void AppModel::readSettings()
{
    const QString sort = m_defaults.stringValue(SettingsKeys::sort).value_or(QString());
    m_sort = noteSortFromString(sort).value_or(NoteSort::urgency);
    const QString color = m_defaults.stringValue(SettingsKeys::defaultColor).value_or(QString());
    m_defaultColor = noteColorFromString(color).value_or(NoteColor::lemon);
    m_newNotesFloat = m_defaults.boolValue(SettingsKeys::newNotesFloat).value_or(false);
    m_warnMinutes = m_defaults.intValue(SettingsKeys::warnMinutes).value_or(15);
    m_playSound = m_defaults.boolValue(SettingsKeys::playSound).value_or(true);
    m_trayEnabled = m_defaults.boolValue(SettingsKeys::trayEnabled).value_or(false);
    const QString open = m_defaults.stringValue(SettingsKeys::trayOpensOn).value_or(QString());
    m_trayOpensOn = trayOpenFromString(open).value_or(TrayOpen::hover);
    m_showMenuBarItem = m_defaults.boolValue(SettingsKeys::showMenuBarItem).value_or(true);
    m_hotkeyEnabled = m_defaults.boolValue(SettingsKeys::hotkeyEnabled).value_or(true);
}

void AppModel::setSort(NoteSort sort)
{
    publish(m_sort, sort, &AppModel::sortChanged);
    m_defaults.setString(SettingsKeys::sort, toString(sort));
}

void AppModel::setDefaultColor(NoteColor color)
{
    publish(m_defaultColor, color, &AppModel::defaultColorChanged);
    m_defaults.setString(SettingsKeys::defaultColor, toString(color));
}

void AppModel::setNewNotesFloat(bool floats)
{
    publish(m_newNotesFloat, floats, &AppModel::newNotesFloatChanged);
    m_defaults.setBool(SettingsKeys::newNotesFloat, floats);
}

void AppModel::setWarnMinutes(int minutes)
{
    publish(m_warnMinutes, minutes, &AppModel::warnMinutesChanged);
    m_defaults.setInt(SettingsKeys::warnMinutes, minutes);
    reschedule();
}

void AppModel::setPlaySound(bool play)
{
    publish(m_playSound, play, &AppModel::playSoundChanged);
    m_defaults.setBool(SettingsKeys::playSound, play);
}

void AppModel::setTrayEnabled(bool enabled)
{
    publish(m_trayEnabled, enabled, &AppModel::trayEnabledChanged);
    m_defaults.setBool(SettingsKeys::trayEnabled, enabled);
}

void AppModel::setTrayOpensOn(TrayOpen open)
{
    publish(m_trayOpensOn, open, &AppModel::trayOpensOnChanged);
    m_defaults.setString(SettingsKeys::trayOpensOn, toString(open));
}

void AppModel::setShowMenuBarItem(bool show)
{
    publish(m_showMenuBarItem, show, &AppModel::showMenuBarItemChanged);
    m_defaults.setBool(SettingsKeys::showMenuBarItem, show);
}

void AppModel::setHotkeyEnabled(bool enabled)
{
    publish(m_hotkeyEnabled, enabled, &AppModel::hotkeyEnabledChanged);
    m_defaults.setBool(SettingsKeys::hotkeyEnabled, enabled);
}

std::optional<double> AppModel::warnSeconds() const
{
    if (m_warnMinutes <= 0)
        return std::nullopt;
    return m_warnMinutes * 60.0;
}

void AppModel::setSaveDelay(std::chrono::milliseconds delay)
{
    m_saveTimer.setInterval(delay);
}

void AppModel::setQuitWait(std::chrono::milliseconds wait)
{
    m_quitWait = wait;
}

void AppModel::setQuietWait(std::chrono::milliseconds wait)
{
    m_quiet.setInterval(wait);
}

void AppModel::setRetryInterval(std::chrono::milliseconds interval)
{
    m_loadRetry.setInterval(interval);
    m_saveRetry.setInterval(interval);
}
