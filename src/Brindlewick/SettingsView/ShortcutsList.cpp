#include "ShortcutsList.h"

#include "Theme/Fonts.h"
#include "Theme/Hairline.h"
#include "Theme/KeyCap.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>

namespace {

struct Row {
    const char *keys;
    const char *label;
};

// Ctrl+Alt+N is the global hot key; the others are the application's menu commands.
constexpr std::array<Row, 16> rows{{
    {"Ctrl+Alt+N", QT_TRANSLATE_NOOP("ShortcutsList", "Quick Note, from any app")},
    {"Ctrl+N", QT_TRANSLATE_NOOP("ShortcutsList", "New note")},
    {"Ctrl+Alt+Shift+N", QT_TRANSLATE_NOOP("ShortcutsList", "New note in the notch")},
    {"Ctrl+T", QT_TRANSLATE_NOOP("ShortcutsList", "Timer…")},
    {"Ctrl+Shift+T", QT_TRANSLATE_NOOP("ShortcutsList", "Start or pause the timer")},
    {"Ctrl+Shift+=", QT_TRANSLATE_NOOP("ShortcutsList", "Add 5 minutes")},
    {"Ctrl+D", QT_TRANSLATE_NOOP("ShortcutsList", "Deadline…")},
    {"Ctrl+Shift+F", QT_TRANSLATE_NOOP("ShortcutsList", "Float above other windows")},
    {"Ctrl+J", QT_TRANSLATE_NOOP("ShortcutsList", "Tuck into the notch / put back")},
    {"Ctrl+1 – Ctrl+7", QT_TRANSLATE_NOOP("ShortcutsList", "Colour")},
    {"Ctrl+Return", QT_TRANSLATE_NOOP("ShortcutsList", "Mark done")},
    {"Ctrl+Shift+Delete", QT_TRANSLATE_NOOP("ShortcutsList", "Delete note")},
    {"Ctrl+F", QT_TRANSLATE_NOOP("ShortcutsList", "Search")},
    {"Ctrl+0", QT_TRANSLATE_NOOP("ShortcutsList", "All Notes")},
    {"Ctrl+Shift+H", QT_TRANSLATE_NOOP("ShortcutsList", "Hide or show notes")},
    {"Ctrl+Shift+O", QT_TRANSLATE_NOOP("ShortcutsList", "Open the notch tray")},
}};

constexpr int padding = 24;
constexpr int rowPadding = 5;

QWidget *rowWidget(const ShortcutsList::Shortcut &shortcut)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, rowPadding, 0, rowPadding);
    layout->addWidget(new ThemeLabel(shortcut.label, Fonts::body(), Theme::ink));
    layout->addStretch();
    layout->addWidget(new KeyCap(shortcut.keys));
    return row;
}

} // namespace

ShortcutsList::ShortcutsList(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(0);
    for (const Shortcut &shortcut : shortcuts()) {
        column->addWidget(rowWidget(shortcut));
        column->addWidget(new Hairline(Qt::Horizontal));
    }
}

QList<ShortcutsList::Shortcut> ShortcutsList::shortcuts()
{
    QList<Shortcut> list;
    for (const Row &row : rows)
        list.append({QString::fromUtf8(row.keys), tr(row.label)});
    return list;
}
