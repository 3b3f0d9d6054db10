#include "LibraryFixture.h"
#include "Pixels.h"

#include "LibraryView/BannerView.h"
#include "LibraryView/Inspector.h"
#include "LibraryView/LibraryView.h"
#include "Theme/Appearance.h"
#include "Theme/Theme.h"

#include <QDir>
#include <QTest>

namespace {

// Pictures of the library on the frozen demo world, for a person to look at: every filter, and the
// inspector of a timer note and of a deleted note, in both appearances.
class LibrarySnapshotTest : public LibraryTest {
protected:
    LibrarySnapshotTest() : view(model)
    {
        view.resize(1180, 740);
        view.show();
        QDir().mkpath(folder());
    }

    static QString folder() { return QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/library"); }

    static QString schemeName(Scheme scheme) { return scheme == Scheme::light ? QStringLiteral("light") : QStringLiteral("dark"); }

    QImage shoot(QWidget *widget, Scheme scheme, const QString &name)
    {
        Appearance::force(&view, scheme);
        // Nested layouts settle one level per pass.
        for (int pass = 0; pass < 4; ++pass)
            QApplication::processEvents();
        const QImage image = Pixels::grab(widget);
        EXPECT_TRUE(image.save(QStringLiteral("%1/%2-%3.png").arg(folder(), name, schemeName(scheme))));
        return image;
    }

    LibraryView view;
};

TEST_F(LibrarySnapshotTest, EveryFilterInBothAppearances)
{
    model.setSelection(idOf(QStringLiteral("Write the launch post")));
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        for (NoteFilter filter : NoteFilters::allCases) {
            model.setFilter(filter);
            const QImage image = shoot(&view, scheme, QStringLiteral("filter-") + toString(filter));
            EXPECT_EQ(image.size(), QSize(1180, 740));
            EXPECT_EQ(Pixels::at(image, 204 + 1 + 300, 735), Theme::desk.resolved(scheme)) << "the grid lies on the desk";
            EXPECT_EQ(Pixels::at(image, 100, 500), Theme::sidebar.resolved(scheme));
            EXPECT_EQ(Pixels::at(image, 1180 - 145, 735), Theme::sidebar.resolved(scheme)) << "the inspector too";
            EXPECT_EQ(Pixels::at(image, 204, 300), Theme::hairline.resolved(scheme));
        }
    }
}

TEST_F(LibrarySnapshotTest, InspectorOfATimerNoteAndOfADeletedNote)
{
    const QUuid launch = idOf(QStringLiteral("Write the launch post"));
    const QUuid wifi = idOf(QStringLiteral("Old wifi password"));
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        model.setFilter(NoteFilter::all);
        model.setSelection(launch);
        shoot(view.inspector(), scheme, QStringLiteral("inspector-timer"));
        model.setFilter(NoteFilter::deleted);
        model.setSelection(wifi);
        shoot(view.inspector(), scheme, QStringLiteral("inspector-deleted"));
        shoot(&view, scheme, QStringLiteral("library-deleted-selected"));
    }
}

TEST_F(LibrarySnapshotTest, EmptyStatesAndTheBanner)
{
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        model.setFilter(NoteFilter::timers);
        model.setQuery(QStringLiteral("zebra"));
        shoot(&view, scheme, QStringLiteral("empty-search"));
        model.setQuery(QString());
        model.deleteNotes({idOf(QStringLiteral("Standup"))});
        QTRY_COMPARE(view.banner()->geometry().bottom() + 1, 740 - 18);
        const QImage withBanner = shoot(&view, scheme, QStringLiteral("banner"));
        EXPECT_EQ(Pixels::at(withBanner, 204 + 1 + 343, 740 - 18 - 18), Theme::ink.resolved(scheme))
            << "the pill lies over the middle of the window";
        model.undo();
        const NoteBook book = model.book();
        model.setBook(NoteBook());
        shoot(&view, scheme, QStringLiteral("empty-notebook"));
        model.setBook(book);
    }
}

} // namespace
