#include "NoteCoding.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <cmath>

namespace {

const Date decodeTime{812345678.25};
const char *const validId = "0F8FAD5B-D9CB-469F-A165-70867728950E";

QByteArray bookWithNote(const QByteArray &noteFields)
{
    return R"({"version": 1, "notes": [{"id": ")" + QByteArray(validId) + "\"" + noteFields + "}]}";
}

TEST(NoteCoding, AnyWrongTypeOrMissingIdentityFailsTheWholeBook)
{
    const QByteArray cases[] = {
        "",
        "not json",
        "[]",
        R"({"notes": {}})",
        R"({"notes": [1]})",
        R"({"version": "1", "notes": []})",
        R"({"version": 1.5, "notes": []})",
        R"({"notes": [{"text": "no id"}]})",
        R"({"notes": [{"id": 7}]})",
        R"({"notes": [{"id": "not-a-uuid"}]})",
        R"({"notes": [{"id": "{0F8FAD5B-D9CB-469F-A165-70867728950E}"}]})",
        bookWithNote(R"(, "text": 5)"),
        bookWithNote(R"(, "color": 3)"),
        bookWithNote(R"(, "created": "yesterday")"),
        bookWithNote(R"(, "edited": true)"),
        bookWithNote(R"(, "pinned": 1)"),
        bookWithNote(R"(, "tucked": "false")"),
        bookWithNote(R"(, "frame": {"x": 1, "y": 2, "width": 3})"),
        bookWithNote(R"(, "frame": [1, 2, 3, 4])"),
        bookWithNote(R"(, "timer": {"endsAt": 5})"),
        bookWithNote(R"(, "timer": {"duration": "60"})"),
        bookWithNote(R"(, "timer": {"duration": 60, "pausedLeft": "5"})"),
        bookWithNote(R"(, "deadline": "2027-01-01")"),
        bookWithNote(R"(, "alertedWarning": {})"),
        // One bad note among good ones still fails everything.
        R"({"notes": [{"id": "0F8FAD5B-D9CB-469F-A165-70867728950E"}, {"id": 1}]})",
    };
    for (const QByteArray &json : cases)
        EXPECT_FALSE(NoteCoding::decode(json, decodeTime)) << json.constData();
}

TEST(NoteCoding, AbsentOrNullKeysTakeTheirDefaults)
{
    for (const QByteArray &json : {bookWithNote(""),
                                   bookWithNote(R"(, "text": null, "color": null, "created": null,
                                                 "pinned": null, "frame": null, "timer": null,
                                                 "deadline": null, "unknownKey": [1, {"x": 2}])"),
                                   bookWithNote(R"(, "color": "teal")")}) {
        const auto book = NoteCoding::decode(json, decodeTime);
        ASSERT_TRUE(book) << json.constData();
        ASSERT_EQ(book->notes.size(), 1);
        StickyNote expected(QUuid::fromString(QLatin1String(validId)), "", NoteColor::lemon, decodeTime);
        EXPECT_EQ(book->notes.first(), expected);
    }
}

TEST(NoteCoding, BookLevelDefaultsAndTolerances)
{
    struct Case { QByteArray json; int version; int notes; };
    const Case cases[] = {
        {"{}", 1, 0},
        {R"({"version": null, "notes": null})", 1, 0},
        {R"({"version": 7, "notes": []})", 7, 0},
        {R"({"version": 2.0, "notes": []})", 2, 0},
    };
    for (const Case &c : cases) {
        const auto book = NoteCoding::decode(c.json, decodeTime);
        ASSERT_TRUE(book) << c.json.constData();
        EXPECT_EQ(book->version, c.version);
        EXPECT_EQ(book->notes.size(), c.notes);
    }
    EXPECT_EQ(NoteCoding::decode(bookWithNote(R"(, "created": 10)"), decodeTime)->notes[0].edited, Date{10});
}

TEST(NoteCoding, KeysAreWrittenSortedAndOptionalOnesOnlyWhenPresent)
{
    const QUuid id = QUuid::fromString(QLatin1String(validId).toString().toLower());
    StickyNote note(id, "hi", NoteColor::mint, Date{1.5});
    const QByteArray minimal = *NoteCoding::encode(NoteBook({note}));
    const QJsonObject object = QJsonDocument::fromJson(minimal).object()["notes"].toArray()[0].toObject();
    EXPECT_EQ(object.keys(), (QStringList{"color", "created", "edited", "id", "pinned", "text", "tucked"}));
    EXPECT_EQ(object.value("id").toString(), QLatin1String(validId));

    note.timer = NoteTimer(60);
    note.changedAt = Date{2.5};
    const QByteArray json = *NoteCoding::encode(NoteBook({note}));
    qsizetype previous = -1;
    for (const char *key : {"changedAt", "color", "created", "edited", "id", "pinned", "text", "timer", "duration", "tucked",
                            "version"}) {
        const qsizetype at = json.indexOf(QByteArray("\"") + key + "\"");
        EXPECT_GT(at, previous) << key;
        previous = at;
    }
    // A ready timer writes only its duration.
    EXPECT_FALSE(json.contains("endsAt") || json.contains("pausedLeft"));
}

// Random notebooks with every optional field on and off, odd texts and fractional dates.
class GeneratedBooks {
public:
    explicit GeneratedBooks(quint32 seed) : m_random(seed) {}

    NoteBook next()
    {
        NoteBook book;
        book.version = m_random.bounded(1, 4);
        const int count = m_random.bounded(0, 12);
        for (int i = 0; i < count; ++i)
            book.notes.append(note());
        return book;
    }

private:
    bool coin() { return m_random.bounded(2) == 1; }
    Date date() { return Date{(m_random.generateDouble() - 0.3) * 2e9}; }
    template <typename T> std::optional<T> maybe(T value) { return coin() ? std::optional<T>(value) : std::nullopt; }

    QString text()
    {
        static const QString pieces[] = {"", "Buy milk", "\n", "\t", "\"quoted\"", "back\\slash", "\u00e9t\u00e9",
                                         "\U0001F600", "\u0000", "\r\n", "</script>", "\u2028", "日本語", "\uFEFF",
                                         // Halves of a pair, alone or joined by chance to the next piece.
                                         QString(QChar(0xD83D)), QString(QChar(0xDE00))};
        QString result;
        for (int i = m_random.bounded(0, 6); i > 0; --i)
            result += pieces[m_random.bounded(int(std::size(pieces)))];
        return result;
    }

    StickyNote note()
    {
        StickyNote n(QUuid::createUuid(), text(), NoteColors::allCases[m_random.bounded(7)], date());
        n.edited = date();
        n.pinned = coin();
        n.tucked = coin();
        n.frame = maybe(NoteFrame{m_random.generateDouble() * 3000 - 500, m_random.generateDouble() * 2000,
                                  190 + m_random.generateDouble() * 400, 150.25});
        if (coin()) {
            NoteTimer timer(m_random.generateDouble() * NoteTimer::longest);
            timer.endsAt = maybe(date());
            timer.pausedLeft = maybe(m_random.generateDouble() * 1000);
            n.timer = timer;
        }
        n.deadline = maybe(date());
        n.deadlineSetAt = maybe(date());
        n.doneAt = maybe(date());
        n.deletedAt = maybe(date());
        n.alertedTimerEnd = maybe(date());
        n.alertedDeadline = maybe(date());
        n.alertedWarning = maybe(date());
        n.changedAt = maybe(date());
        return n;
    }

    QRandomGenerator m_random;
};

TEST(NoteCoding, EncodeThenDecodeGivesAnEqualBook)
{
    GeneratedBooks books(20261207);
    for (int i = 0; i < 300; ++i) {
        const NoteBook book = books.next();
        const auto json = NoteCoding::encode(book);
        ASSERT_TRUE(json);
        const auto decoded = NoteCoding::decode(*json, decodeTime);
        ASSERT_TRUE(decoded) << json->constData();
        ASSERT_EQ(*decoded, book) << json->constData();
    }
}

TEST(NoteCoding, AByteOrderMarkInATextIsKeptAndOneOpeningTheFileIsNot)
{
    const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray note = R"({"id": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "text": ")" + mark + "a" + mark + R"("})";
    for (const QByteArray &file : {"{\"notes\": [" + note + "]}", mark + "{\"notes\": [" + note + "]}"}) {
        const auto book = NoteCoding::decode(file, decodeTime);
        ASSERT_TRUE(book) << file.constData();
        EXPECT_EQ(book->notes.value(0).text, QStringLiteral("\uFEFFa\uFEFF"));
    }
}

TEST(NoteCoding, FramesFarOffAnyScreenAreBroughtWithinReachOfWindowCoordinates)
{
    const QByteArray text = R"({"notes": [{"id": "6F3C1D2E-0000-4000-8000-000000000001", "text": "far",
        "color": "lemon", "created": 0, "edited": 0,
        "frame": {"x": -1e308, "y": 1e308, "width": 1e300, "height": 240}}]})";
    const std::optional<NoteBook> book = NoteCoding::decode(text, Date{0});
    ASSERT_TRUE(book);
    const NoteFrame frame = *book->notes.first().frame;
    for (double value : {frame.x, frame.y, frame.width}) {
        EXPECT_LE(std::abs(value), 1e6);
        EXPECT_NE(value, 0) << "the side it was on is kept";
    }
    EXPECT_EQ(frame.height, 240) << "a sane size stays as it was";
}

TEST(NoteCoding, DatesAndSpansBeyondTheCalendarAreBroughtIntoItsYears)
{
    const double latest = Date::latestSeconds;
    const double earliest = Date::earliestSeconds;
    const double longest = latest - earliest;
    using Read = double (*)(const StickyNote &);
    struct Case { const char *name; const char *fields; Read read; double expected; };
    const Case cases[] = {
        {"a deadline far ahead", R"(, "deadline": 1e300)", [](const StickyNote &n) { return n.deadline->seconds; },
         latest},
        {"a creation far back", R"(, "created": -1e300)", [](const StickyNote &n) { return n.created.seconds; },
         earliest},
        {"an edit just past the last year", R"(, "edited": 252500000000)",
         [](const StickyNote &n) { return n.edited.seconds; }, latest},
        {"a date inside the years stays", R"(, "doneAt": 812345678.5)",
         [](const StickyNote &n) { return n.doneAt->seconds; }, 812345678.5},
        {"the first moment of the years stays", R"(, "deletedAt": -63113817600)",
         [](const StickyNote &n) { return n.deletedAt->seconds; }, earliest},
        {"an alert stamp", R"(, "alertedWarning": -1e300)",
         [](const StickyNote &n) { return n.alertedWarning->seconds; }, earliest},
        {"a timer's end", R"(, "timer": {"duration": 60, "endsAt": 1e300})",
         [](const StickyNote &n) { return n.timer->endsAt->seconds; }, latest},
        {"a timer's length", R"(, "timer": {"duration": 1e300})",
         [](const StickyNote &n) { return n.timer->duration; }, longest},
        {"a paused timer's rest", R"(, "timer": {"duration": 60, "pausedLeft": -1e300})",
         [](const StickyNote &n) { return *n.timer->pausedLeft; }, -longest},
        {"a sane length stays", R"(, "timer": {"duration": 90.5, "pausedLeft": 30})",
         [](const StickyNote &n) { return n.timer->duration + *n.timer->pausedLeft; }, 120.5},
    };
    for (const Case &c : cases) {
        const auto book = NoteCoding::decode(bookWithNote(c.fields), decodeTime);
        ASSERT_TRUE(book) << c.name;
        EXPECT_EQ(c.read(book->notes.first()), c.expected) << c.name;
    }
}

// Notes copied by hand within a file, or two files joined, keep both notes: the later one gets an id of
// its own, the same each time the file is read.
TEST(NoteCoding, ANoteWithAnIdSeenBeforeGetsItsOwn)
{
    const QByteArray twice = R"({"id": ")" + QByteArray(validId) + R"(", "text": "twin"})";
    const QByteArray text = R"({"notes": [)" + twice + "," + twice + "," + twice + "]}";
    const auto book = NoteCoding::decode(text, decodeTime);
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 3);
    const QUuid first = book->notes[0].id;
    EXPECT_EQ(first, QUuid::fromString(QLatin1String(validId)));
    EXPECT_NE(book->notes[1].id, first);
    EXPECT_NE(book->notes[2].id, first);
    EXPECT_NE(book->notes[2].id, book->notes[1].id);
    for (const StickyNote &note : book->notes)
        EXPECT_EQ(note.text, "twin");
    EXPECT_EQ(NoteCoding::decode(text, decodeTime), book) << "read again, the same ids";
    EXPECT_EQ(NoteCoding::decode(*NoteCoding::encode(*book), decodeTime), book) << "saved, they stay";
}

} // namespace
