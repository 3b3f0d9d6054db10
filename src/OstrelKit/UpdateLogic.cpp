#include "UpdateLogic.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace UpdateLogic {

namespace {

constexpr qsizetype maxVersionParts = 4;
// Keeps every part within an int.
constexpr qsizetype maxPartDigits = 6;
constexpr qsizetype ed25519SignatureSize = 64;

std::optional<QByteArray> decodeSignature(const QJsonValue &value)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!value.isString() || !decoded || decoded.decoded.size() != ed25519SignatureSize)
        return std::nullopt;
    return *decoded;
}

bool isWellFormed(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() && url.userInfo().isEmpty();
}

bool isPlainLoopback(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") && QHostAddress(url.host()).isLoopback();
}

} // namespace

std::optional<QList<int>> parseVersion(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > maxVersionParts)
        return std::nullopt;
    QList<int> numbers;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > maxPartDigits || !std::all_of(part.begin(), part.end(), [](QChar c) {
                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
            }))
            return std::nullopt;
        numbers.append(part.toInt());
    }
    return numbers;
}

bool isNewer(const QString &candidate, const QString &current)
{
    std::optional<QList<int>> a = parseVersion(candidate);
    std::optional<QList<int>> b = parseVersion(current);
    if (!a || !b)
        return false;
    while (a->size() < maxVersionParts)
        a->append(0);
    while (b->size() < maxVersionParts)
        b->append(0);
    return *a > *b;
}

bool isAllowedFeed(const QUrl &url)
{
    return isWellFormed(url) && (url.scheme() == QLatin1String("https") || isPlainLoopback(url));
}

bool isAllowedAddress(const QUrl &url, const QUrl &feed)
{
    if (!isWellFormed(url))
        return false;
    return url.scheme() == QLatin1String("https") || (isPlainLoopback(url) && isPlainLoopback(feed));
}

FeedVerdict readFeed(const QByteArray &bytes, const QString &currentVersion, const QUrl &feedUrl)
{
    if (bytes.size() > maxFeedBytes)
        return FeedProblem::tooLarge;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return FeedProblem::notJson;
    const QJsonObject feed = document.object();
    const QJsonValue version = feed.value(QLatin1String("version"));
    const QJsonValue url = feed.value(QLatin1String("url"));
    const QJsonValue manifest = feed.value(QLatin1String("manifest"));
    const QJsonValue signature = feed.value(QLatin1String("signature"));
    const QJsonValue notes = feed.value(QLatin1String("notes"));
    if (!version.isString() || !parseVersion(version.toString()) || !url.isString() || !manifest.isString() ||
        !signature.isString() || !(notes.isString() || notes.isUndefined()))
        return FeedProblem::wrongFields;
    if (!isNewer(version.toString(), currentVersion))
        return std::optional<UpdateOffer>();

    UpdateOffer offer;
    offer.version = version.toString();
    offer.archiveUrl = QUrl(url.toString(), QUrl::StrictMode);
    if (!isAllowedAddress(offer.archiveUrl, feedUrl))
        return FeedProblem::badAddress;
    offer.manifest = manifest.toString().toUtf8();
    const std::optional<SignedRelease> release = readManifest(offer.manifest);
    if (!release)
        return FeedProblem::badManifest;
    offer.release = *release;
    const std::optional<QByteArray> decoded = decodeSignature(signature);
    if (!decoded)
        return FeedProblem::badSignature;
    offer.signature = *decoded;
    offer.notes = notes.toString();
    offer.notesSignature = decodeSignature(feed.value(QLatin1String("notesSignature"))).value_or(QByteArray());
    return std::optional<UpdateOffer>(offer);
}

std::optional<SignedRelease> readManifest(const QByteArray &manifest)
{
    static const QRegularExpression form(QStringLiteral("\\Aname ([^\\n]+)\\nversion ([0-9.]+)\\nsize ([0-9]{1,12})\\n"
                                                        "sha256 ([0-9a-f]{64})\\n\\z"));
    const QRegularExpressionMatch match = form.match(QString::fromUtf8(manifest));
    if (!match.hasMatch() || !parseVersion(match.captured(2)))
        return std::nullopt;
    const qint64 size = match.captured(3).toLongLong();
    if (size < 1 || size > maxArchiveBytes)
        return std::nullopt;
    return SignedRelease{match.captured(1), match.captured(2), size,
                         QByteArray::fromHex(match.captured(4).toLatin1())};
}

std::optional<ReleaseProblem> releaseProblem(const UpdateOffer &offer, const QString &name,
                                             const QString &currentVersion)
{
    if (offer.release.name != name)
        return ReleaseProblem::otherProgram;
    if (!isNewer(offer.release.version, currentVersion))
        return ReleaseProblem::notNewer;
    if (offer.release.version != offer.version)
        return ReleaseProblem::notAsOffered;
    return std::nullopt;
}

QByteArray signedNotes(const UpdateOffer &offer)
{
    return offer.manifest + offer.notes.toUtf8();
}

QString shownNotes(const QString &notes)
{
    static const QRegularExpression directionControls(
        QStringLiteral("[\\x{061C}\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    return QString(notes).remove(directionControls).trimmed().left(maxNotesLength);
}

int downloadTimeLimitMs(qint64 size, int baseMs)
{
    return baseMs + int(qBound<qint64>(0, size, maxArchiveBytes) * 1000 / slowestBytesPerSecond);
}

qint64 unpackedLimit(qint64 size)
{
    constexpr qint64 smallest = 1024 * 1024;
    return qMin(maxUnpackedBytes, smallest + qBound<qint64>(0, size, maxArchiveBytes) * maxPackingRatio);
}

QString announcedKey(const QString &version)
{
    return QStringLiteral("OstrelAnnounced-") + version;
}

} // namespace UpdateLogic
