#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>
#include <variant>

// One release as the feed announces it.
struct UpdateOffer {
    QString version;
    QUrl archiveUrl;
    qint64 size = 0;
    // Ed25519 over the archive's bytes, 64 raw bytes.
    QByteArray signature;
    QString notes;

    bool operator==(const UpdateOffer &) const = default;
};

// The rules of updating, free of any network or file: what a version is, which addresses may be
// fetched, and what a feed must hold.
namespace UpdateLogic {

// The most a feed may be; a larger answer is refused unread.
inline constexpr qint64 maxFeedBytes = 64 * 1024;
// The most an archive may announce.
inline constexpr qint64 maxArchiveBytes = 512LL * 1024 * 1024;
inline constexpr qsizetype maxNotesLength = 4000;

// "1.2.3": one to four numbers joined by dots; nothing else is a version.
std::optional<QList<int>> parseVersion(const QString &text);
// True only when both are versions and `candidate` is strictly greater ("1.10" > "1.9", "1.0" == "1").
bool isNewer(const QString &candidate, const QString &current);
// HTTPS anywhere; plain HTTP only to this machine's loopback address, which is what tests serve from.
bool isAllowedAddress(const QUrl &url);

enum class FeedProblem { tooLarge, notJson, wrongFields, badAddress, badSignature, badSize };

// A feed is either not newer (nullopt: this copy is up to date), an offer, or refused with its problem.
using FeedVerdict = std::variant<std::optional<UpdateOffer>, FeedProblem>;
FeedVerdict readFeed(const QByteArray &bytes, const QString &currentVersion);

// The settings key that remembers a version was shown once.
QString announcedKey(const QString &version);

} // namespace UpdateLogic
