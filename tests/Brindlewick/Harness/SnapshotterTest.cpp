#include "HarnessFixture.h"

#include "Harness/Snapshotter.h"
#include "Pixels.h"
#include "Theme/Paper.h"
#include "Theme/Theme.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>

namespace {

class SnapshotterTest : public HarnessTest {
protected:
    // The file of a shot in one appearance: "NN-<shot>-<scheme>.png".
    static QString named(const QStringList &files, const QString &shot, const QString &scheme)
    {
        for (const QString &file : files)
            if (QFileInfo(file).fileName().mid(3) == QStringLiteral("%1-%2.png").arg(shot, scheme))
                return file;
        return {};
    }
};

TEST_F(SnapshotterTest, OnlyNamesOneAppearanceOutOfLightOrDark)
{
    using Schemes = QList<Scheme>;
    EXPECT_EQ(Snapshotter::schemes(std::nullopt), (Schemes{Scheme::light, Scheme::dark}));
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("light")), Schemes{Scheme::light});
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("dark")), Schemes{Scheme::dark});
    EXPECT_EQ(Snapshotter::schemes(QString()), (Schemes{Scheme::light, Scheme::dark}));
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("Dark")), (Schemes{Scheme::light, Scheme::dark}));
}

// Numbered pairs at two pixels per point; a lemon note shows its paper in each appearance, on the desk.
TEST_F(SnapshotterTest, RendersEveryShotInBothAppearances)
{
    const QString out = QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/harness");
    QDir(out).removeRecursively();
    const std::optional<QStringList> files = Snapshotter::render(out, {Scheme::light, Scheme::dark});
    ASSERT_TRUE(files);
    ASSERT_GE(files->size(), 2 * 10);
    ASSERT_EQ(files->size() % 2, 0);
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).size(), files->size());

    const QRegularExpression pattern(QStringLiteral("^(\\d\\d)-[a-z-]+-(light|dark)\\.png$"));
    for (qsizetype i = 0; i < files->size(); ++i) {
        const QString name = QFileInfo(files->at(i)).fileName();
        const QRegularExpressionMatch match = pattern.match(name);
        ASSERT_TRUE(match.hasMatch()) << name.toStdString();
        EXPECT_EQ(match.captured(1).toInt(), i / 2 + 1) << name.toStdString();
        EXPECT_EQ(match.captured(2), i % 2 ? QStringLiteral("dark") : QStringLiteral("light"));
        EXPECT_FALSE(QImage(files->at(i)).isNull()) << name.toStdString();
    }

    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        const QString file = named(*files, QStringLiteral("note-pinned-deadline"), scheme == Scheme::dark ? "dark" : "light");
        const QImage image(file);
        // The note's 250 × 230 frame and a 12-point desk around it, at two pixels per point.
        ASSERT_EQ(image.size(), QSize(548, 508)) << file.toStdString();
        EXPECT_LT(Pixels::distance(image.pixelColor(4, 4), Theme::desk.resolved(scheme)), 3);
        EXPECT_LT(Pixels::distance(image.pixelColor(2 * (12 + 230), 2 * (12 + 140)),
                                   Paper::fill(NoteColor::lemon).resolved(scheme)), 8);
    }
}

TEST_F(SnapshotterTest, DarkAloneWritesOnlyDarkPictures)
{
    const std::optional<QStringList> files = Snapshotter::render(path("shots"), {Scheme::dark});
    ASSERT_TRUE(files);
    ASSERT_FALSE(files->isEmpty());
    for (const QString &file : *files)
        EXPECT_TRUE(file.endsWith(u"-dark.png")) << file.toStdString();
    EXPECT_EQ(QDir(path("shots")).entryList(QDir::Files).size(), files->size());
}

TEST_F(SnapshotterTest, AFolderThatCannotBeMadeIsAFailure)
{
    QFile blocker(path("shots"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(Snapshotter::render(path("shots/inside"), {Scheme::light}));
}

} // namespace
