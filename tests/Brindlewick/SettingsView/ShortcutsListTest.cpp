#include "SettingsView/ShortcutsList.h"
#include "Theme/Hairline.h"
#include "Theme/KeyCap.h"
#include "Theme/ThemeLabel.h"

#include <QCoreApplication>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QList<ShortcutsList::Shortcut> expected{
    {QStringLiteral("Ctrl+Alt+N"), QStringLiteral("Quick Note, from any app")},
    {QStringLiteral("Ctrl+N"), QStringLiteral("New note")},
    {QStringLiteral("Ctrl+Alt+Shift+N"), QStringLiteral("New note in the notch")},
    {QStringLiteral("Ctrl+T"), QStringLiteral("Timer…")},
    {QStringLiteral("Ctrl+Shift+T"), QStringLiteral("Start or pause the timer")},
    {QStringLiteral("Ctrl+Shift+="), QStringLiteral("Add 5 minutes")},
    {QStringLiteral("Ctrl+D"), QStringLiteral("Deadline…")},
    {QStringLiteral("Ctrl+Shift+F"), QStringLiteral("Float above other windows")},
    {QStringLiteral("Ctrl+J"), QStringLiteral("Tuck into the notch / put back")},
    {QStringLiteral("Ctrl+1 – Ctrl+7"), QStringLiteral("Colour")},
    {QStringLiteral("Ctrl+Return"), QStringLiteral("Mark done")},
    {QStringLiteral("Ctrl+Shift+Delete"), QStringLiteral("Delete note")},
    {QStringLiteral("Ctrl+F"), QStringLiteral("Search")},
    {QStringLiteral("Ctrl+0"), QStringLiteral("All Notes")},
    {QStringLiteral("Ctrl+Shift+H"), QStringLiteral("Hide or show notes")},
    {QStringLiteral("Ctrl+Shift+O"), QStringLiteral("Open the notch tray")},
};

template <typename T>
QList<T *> topToBottom(const QWidget &root)
{
    QList<T *> found = root.findChildren<T *>();
    std::sort(found.begin(), found.end(),
              [&](T *a, T *b) { return a->mapTo(&root, QPoint()).y() < b->mapTo(&root, QPoint()).y(); });
    return found;
}

TEST(ShortcutsList, ListsTheSixteenShortcutsInOrderWithLinuxKeyNames)
{
    EXPECT_EQ(ShortcutsList::shortcuts(), expected);
    QSet<QString> keys;
    for (const auto &shortcut : expected)
        keys.insert(shortcut.keys);
    EXPECT_EQ(keys.size(), expected.size()) << "rows are identified by their keys";
}

TEST(ShortcutsList, EachRowShowsItsLabelBesideOneKeyCapAboveAHairline)
{
    ShortcutsList list;
    list.resize(492, list.sizeHint().height());
    list.show();
    QCoreApplication::sendPostedEvents();

    const QList<KeyCap *> caps = topToBottom<KeyCap>(list);
    const QList<ThemeLabel *> labels = topToBottom<ThemeLabel>(list);
    const QList<Hairline *> lines = topToBottom<Hairline>(list);
    ASSERT_EQ(caps.size(), expected.size());
    ASSERT_EQ(labels.size(), expected.size());
    ASSERT_EQ(lines.size(), expected.size()) << "every row has its hairline, the last one too";
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(caps[i]->text(), expected[i].keys);
        EXPECT_EQ(labels[i]->text(), expected[i].label);
        const QRect cap(caps[i]->mapTo(&list, QPoint()), caps[i]->size());
        const QRect label(labels[i]->mapTo(&list, QPoint()), labels[i]->size());
        const QRect line(lines[i]->mapTo(&list, QPoint()), lines[i]->size());
        EXPECT_EQ(cap.right(), list.width() - 24 - 1) << "keys on the right, inside the padding";
        EXPECT_EQ(label.left(), 24);
        EXPECT_GE(label.width(), labels[i]->sizeHint().width()) << "label not cut";
        EXPECT_LT(label.right(), cap.left());
        EXPECT_EQ(line.width(), list.width() - 48);
        EXPECT_GE(line.top(), cap.bottom() + 5);
        EXPECT_GE(line.top(), label.bottom());
        if (i + 1 < expected.size()) {
            EXPECT_LE(line.bottom(), caps[i + 1]->mapTo(&list, QPoint()).y() - 5);
        }
    }
}

} // namespace
