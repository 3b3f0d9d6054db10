#include "NoteQuery.h"

#include "StickyNote.h"
#include "Words.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <utility>

namespace {

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

// Plain ASCII has no diacritics and no width forms: lower case is the whole fold, and most notes take this way.
QString foldAscii(QString text)
{
    for (QChar &c : text)
        c = QChar(asciiLower(c.unicode()));
    return text;
}

struct Normalizers {
    const icu::Normalizer2 *nfc = nullptr;
    const icu::Normalizer2 *nfd = nullptr;
    const icu::Normalizer2 *nfkd = nullptr;
};

// Calls `visit` with each code point of UTF-16 text; an unpaired surrogate is passed on as it is.
template <typename Visit>
void forEachCodePoint(const char16_t *units, qsizetype length, Visit visit)
{
    for (qsizetype i = 0; i < length; ++i) {
        char32_t c = units[i];
        if (QChar::isHighSurrogate(c) && i + 1 < length && QChar::isLowSurrogate(units[i + 1])) {
            c = QChar::surrogateToUcs4(units[i], units[i + 1]);
            ++i;
        }
        visit(c);
    }
}

template <typename Visit>
void forEachCodePoint(const icu::UnicodeString &text, Visit visit)
{
    forEachCodePoint(reinterpret_cast<const char16_t *>(text.getBuffer()), text.length(), visit);
}

bool isDiacriticMark(char32_t c)
{
    return u_charType(c) == U_NON_SPACING_MARK && u_hasBinaryProperty(c, UCHAR_DIACRITIC);
}

bool isWidthForm(char32_t c)
{
    const auto type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
    return type == U_DT_WIDE || type == U_DT_NARROW;
}

// Appends `c` without its diacritics: "é" as "e", "パ" as "ハ", a lone accent as nothing. Characters
// without diacritics stay whole, so Hangul syllables are not taken apart.
void appendBare(char32_t c, const icu::Normalizer2 &nfd, QString &out)
{
    if (isDiacriticMark(c))
        return;
    icu::UnicodeString decomposed;
    if (!nfd.getDecomposition(c, decomposed)) {
        out.append(QChar::fromUcs4(c));
        return;
    }
    QString bare;
    forEachCodePoint(decomposed, [&](char32_t part) {
        if (!isDiacriticMark(part))
            bare.append(QChar::fromUcs4(part));
    });
    if (bare.size() == decomposed.length())
        out.append(QChar::fromUcs4(c));
    else
        out.append(bare);
}

// Case-folded (fully: "ß" gives "ss"), then full-width letters and half-width kana in their ordinary
// forms, then without diacritics.
void appendFolded(char32_t c, const Normalizers &normalizers, QString &out)
{
    const auto units = QChar::fromUcs4(c);
    UChar folded[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strFoldCase(folded, 8, reinterpret_cast<const UChar *>(units.chars),
                                         static_cast<int32_t>(QStringView(units).size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) {
        out.append(units);
        return;
    }
    forEachCodePoint(reinterpret_cast<const char16_t *>(folded), length, [&](char32_t f) {
        icu::UnicodeString ordinary;
        if (isWidthForm(f) && normalizers.nfkd->getDecomposition(f, ordinary))
            forEachCodePoint(ordinary, [&](char32_t o) { appendBare(o, *normalizers.nfd, out); });
        else
            appendBare(f, *normalizers.nfd, out);
    });
}

QString foldUnicode(const QString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const Normalizers normalizers{icu::Normalizer2::getNFCInstance(status), icu::Normalizer2::getNFDInstance(status),
                                  icu::Normalizer2::getNFKDInstance(status)};
    if (U_FAILURE(status))
        return text.toCaseFolded();
    // Composed first, so a letter typed with a separate accent folds like the precomposed one.
    const icu::UnicodeString source(false, reinterpret_cast<const UChar *>(text.utf16()),
                                    static_cast<int32_t>(text.size()));
    icu::UnicodeString composed;
    if (!normalizers.nfc->isNormalized(source, status))
        composed = normalizers.nfc->normalize(source, status);
    const icu::UnicodeString &input = composed.isEmpty() ? source : composed;

    QString out;
    out.reserve(input.length());
    forEachCodePoint(input, [&](char32_t c) {
        if (c < 0x80)
            out.append(QChar(asciiLower(char16_t(c))));
        else
            appendFolded(c, normalizers, out);
    });
    return out;
}

} // namespace

NoteQuery::NoteQuery(const QString &text)
{
    for (const QString &piece : splitWords(text)) {
        // A lone accent folds to nothing.
        if (QString word = fold(piece); !word.isEmpty())
            m_words.append(std::move(word));
    }
}

bool NoteQuery::matches(const StickyNote &note) const
{
    if (m_words.isEmpty())
        return true;
    const QString text = fold(note.text);
    const QString color = toString(note.color);
    return std::all_of(m_words.begin(), m_words.end(),
                       [&](const QString &word) { return text.contains(word) || word == color; });
}

QString NoteQuery::fold(const QString &text)
{
    return isAscii(text) ? foldAscii(text) : foldUnicode(text);
}
