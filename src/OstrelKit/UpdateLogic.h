#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>
#include <variant>

// What the maker signs for one release: the program, its version, and the archive's size and SHA-256.
// Signing these few lines, not the archive alone, binds the version to the bytes, so a feed cannot
// pass an older signed release off as a newer one.
struct SignedRelease {
    QString name;
    QString version;
    qint64 size = 0;
    // 32 raw bytes.
    QByteArray sha256;

    bool operator==(const SignedRelease &) const = default;
};

// One release as the feed announces it.
struct UpdateOffer {
    // The version the feed names, which must be the signed one.
    QString version;
    QUrl archiveUrl;
    // The signed lines as they came, and what they say.
    QByteArray manifest;
    SignedRelease release;
    // Ed25519 over the manifest's bytes, 64 raw bytes.
    QByteArray signature;
    // The release notes as the feed gives them, and the maker's signature over the manifest's bytes
    // followed by theirs: notes without it are not shown.
    QString notes;
    QByteArray notesSignature;

    bool operator==(const UpdateOffer &) const = default;
};

// The rules of updating, free of any network or file: what a version is, which addresses may be
// fetched, what a feed and its manifest must hold, and how long a transfer may take.
namespace UpdateLogic {

// The most a feed may be; a larger answer is refused unread.
inline constexpr qint64 maxFeedBytes = 64 * 1024;
// The most an archive may announce.
inline constexpr qint64 maxArchiveBytes = 512LL * 1024 * 1024;
inline constexpr qsizetype maxNotesLength = 4000;
// The most entries an archive may hold: a program's install folder has a few.
inline constexpr int maxArchiveEntries = 5000;
// An archive unpacks to at most this many times its size (a program packs to about a third), and
// never to more than maxUnpackedBytes.
inline constexpr qint64 maxPackingRatio = 32;
inline constexpr qint64 maxUnpackedBytes = 2LL * 1024 * 1024 * 1024;
// A feed arrives within this time, however steadily it trickles.
inline constexpr int feedTimeLimitMs = 30'000;
// The slowest download still let through: the time an archive may take grows with its size.
inline constexpr qint64 slowestBytesPerSecond = 16 * 1024;

// "1.2.3": one to four numbers joined by dots; nothing else is a version.
std::optional<QList<int>> parseVersion(const QString &text);
// True only when both are versions and `candidate` is strictly greater ("1.10" > "1.9", "1.0" == "1").
bool isNewer(const QString &candidate, const QString &current);
// A feed's address: HTTPS anywhere; plain HTTP only to this machine's loopback address, which is what
// tests serve from.
bool isAllowedFeed(const QUrl &url);
// Where the feed at `feed` may send the program: HTTPS anywhere; plain HTTP to the loopback address
// only from a feed that is there itself.
bool isAllowedAddress(const QUrl &url, const QUrl &feed);

enum class FeedProblem { tooLarge, notJson, wrongFields, badAddress, badSignature, badManifest };

// A feed, fetched from `feed`, is either not newer (nullopt: this copy is up to date), an offer, or
// refused with its problem. The offer's signatures are not checked here.
using FeedVerdict = std::variant<std::optional<UpdateOffer>, FeedProblem>;
FeedVerdict readFeed(const QByteArray &bytes, const QString &currentVersion, const QUrl &feed);

// What the notes' signature covers.
QByteArray signedNotes(const UpdateOffer &offer);
// Release notes as shown: without the characters that override the direction of text, which could
// make them read otherwise than written, and no longer than maxNotesLength.
QString shownNotes(const QString &notes);

// "name N\nversion V\nsize S\nsha256 H\n", exactly; nothing else is a manifest.
std::optional<SignedRelease> readManifest(const QByteArray &manifest);

enum class ReleaseProblem { otherProgram, notNewer, notAsOffered };

// Why a release, once its signature holds, may not replace `currentVersion` of the program `name`:
// signed for another program, not newer whatever the feed says, or not the version the feed names.
std::optional<ReleaseProblem> releaseProblem(const UpdateOffer &offer, const QString &name,
                                             const QString &currentVersion);

// How long a download of `size` bytes may take in all: `baseMs` plus the time at the slowest rate.
int downloadTimeLimitMs(qint64 size, int baseMs);

// The most an archive of the signed `size` may take once unpacked.
qint64 unpackedLimit(qint64 size);

// The settings key that remembers a version was shown once.
QString announcedKey(const QString &version);

} // namespace UpdateLogic
