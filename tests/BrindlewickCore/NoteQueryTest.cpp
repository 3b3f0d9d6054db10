#include "NoteQuery.h"

#include "QtPrinters.h"
#include "TestNotes.h"

#include <gtest/gtest.h>

namespace {

using TestNotes::note;

const Date t0{750000000};

TEST(NoteQuery, FoldingIgnoresCaseDiacriticsAndWidth)
{
    struct Case { QString text; QString folded; };
    const Case cases[] = {
        {QStringLiteral("cafe"), QStringLiteral("cafe")},
        {QStringLiteral("Café"), QStringLiteral("cafe")},
        {QStringLiteral("CAFÉ"), QStringLiteral("cafe")},
        // "e" followed by a combining acute accent.
        {QStringLiteral("Cafe\u0301"), QStringLiteral("cafe")},
        {QStringLiteral("\uFF23\uFF41\uFF46\uFF45"), QStringLiteral("cafe")},
        {QStringLiteral("\uFF32\uFF2F\uFF33\uFF25"), QStringLiteral("rose")},
        {QStringLiteral("\uFF14\uFF14\uFF17\uFF11"), QStringLiteral("4471")},
        {QStringLiteral("Straße"), QStringLiteral("strasse")},
        {QStringLiteral("İstanbul"), QStringLiteral("istanbul")},
        {QStringLiteral("Ærøskøbing"), QStringLiteral("ærøskøbing")},
        {QStringLiteral("ΆΘΗΝΑ"), QStringLiteral("αθηνα")},
        // Half-width katakana and voiced marks fold like the full-width forms without them.
        {QStringLiteral("\uFF8A\uFF9F\uFF9D"), QStringLiteral("\u30CF\u30F3")},
        {QStringLiteral("\u30D1\u30F3"), QStringLiteral("\u30CF\u30F3")},
        // Vowel signs change an Indic word and stay; Hangul syllables stay whole.
        {QStringLiteral("\u0915\u0941\u0932"), QStringLiteral("\u0915\u0941\u0932")},
        {QStringLiteral("\uD55C\uAE00"), QStringLiteral("\uD55C\uAE00")},
        {QStringLiteral("Masala chai \u2615\uFE0F"), QStringLiteral("masala chai \u2615\uFE0F")},
        {QStringLiteral("\u0301"), QString()},
        // Beyond the basic plane: Deseret capital and small long I.
        {QStringLiteral("\U00010400x"), QStringLiteral("\U00010428x")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NoteQuery::fold(c.text), c.folded) << c.text.toStdString();
}

TEST(NoteQuery, WordsAreSplitAtAnyWhitespaceAndFolded)
{
    struct Case { QString text; QStringList words; };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("   \t\n "), {}},
        {QStringLiteral("  Milk\tEGGS  "), {QStringLiteral("milk"), QStringLiteral("eggs")}},
        {QStringLiteral("one\u00A0two\u3000three\u2028four\r\nfive"),
         {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"),
          QStringLiteral("five")}},
        {QStringLiteral("milk Milk MILK"), {QStringLiteral("milk"), QStringLiteral("milk"), QStringLiteral("milk")}},
        {QStringLiteral("Café \u0301 au"), {QStringLiteral("cafe"), QStringLiteral("au")}},
    };
    for (const Case &c : cases) {
        const NoteQuery query(c.text);
        EXPECT_EQ(query.words(), c.words) << c.text.toStdString();
        EXPECT_EQ(query.isEmpty(), c.words.isEmpty()) << c.text.toStdString();
    }
}

TEST(NoteQuery, EveryWordMustBeInTheTextOrNameTheColour)
{
    const StickyNote eggsAndMilk = note(1, t0, QStringLiteral("eggs and milk"));
    const StickyNote onlyMilk = note(2, t0, QStringLiteral("milk"));
    const StickyNote cafe = note(3, t0, QStringLiteral("CAFE au lait\nwith oat milk"));
    const StickyNote roseNote = note(4, t0, QStringLiteral("Call the florist"), NoteColor::rose);
    const StickyNote rosemary = note(5, t0, QStringLiteral("Buy rosemary"), NoteColor::lemon);
    const StickyNote graphite = note(6, t0, QStringLiteral("Plain text"), NoteColor::graphite);
    const StickyNote wide = note(7, t0, QStringLiteral("PO \uFF14\uFF14\uFF17\uFF11 from \uFF30\uFF41\uFF52\uFF56\uFF45\uFF4C\uFF4C"));
    const QList<StickyNote> all{eggsAndMilk, onlyMilk, cafe, roseNote, rosemary, graphite, wide};

    struct Case { const char *query; QList<int> matching; };
    const Case cases[] = {
        {"", {1, 2, 3, 4, 5, 6, 7}},
        {"  \t ", {1, 2, 3, 4, 5, 6, 7}},
        {"  Milk\tEGGS  ", {1}},
        {"café", {3}},
        {"Café MILK", {3}},
        {"rose", {4, 5}},
        {"Rose", {4, 5}},
        {"ＲＯＳＥ", {4, 5}},
        {"rose florist", {4}},
        {"gra", {}},
        {"graphite", {6}},
        {"graphite plain", {6}},
        {"lemon", {1, 2, 3, 5, 7}},
        {"4471 parvell", {7}},
        {"milk milk", {1, 2, 3}},
        {"milk xyz", {}},
    };
    for (const Case &c : cases) {
        const NoteQuery query(QString::fromUtf8(c.query));
        QList<int> matching;
        for (int i = 0; i < all.size(); ++i) {
            if (query.matches(all[i]))
                matching.append(i + 1);
        }
        EXPECT_EQ(matching, c.matching) << c.query;
    }
}

} // namespace
