#pragma once

#include "BundleInfo.h"
#include "InstallLayout.h"
#include "KitDefaults.h"
#include "Transfer.h"
#include "UpdateLogic.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

// What the updater is given: who the program is, where it runs from, where it stages downloads,
// where its settings live, and how long it waits: without a byte (idle) and in all (limit).
struct UpdaterSetup {
    BundleInfo bundle;
    // The running program's file, whose install folder an update replaces.
    QString executable;
    // Downloads and unpacked updates wait here until they are installed or dropped.
    QString stageRoot;
    KitDefaults defaults = KitDefaults::inMemory();
    int feedTimeoutMs = 10'000;
    int feedTimeLimitMs = UpdateLogic::feedTimeLimitMs;
    int downloadTimeoutMs = 30'000;
    // The download's limit: this, plus the time its announced size takes at the slowest rate let through.
    int downloadTimeLimitBaseMs = 60'000;
    int firstCheckDelayMs = 5'000;
    int recheckMs = 24 * 60 * 60 * 1000;

    // This process: the built-in bundle values, its own file, $XDG_CACHE_HOME/<name>/updates.
    static UpdaterSetup live(KitDefaults defaults);
};

// Looks for a newer version in the feed (at start-up, once a day, and when asked), checks the maker's
// signature over what the feed offers (program, version, archive size and SHA-256) and that the signed
// version is newer than this one, downloads the archive, checks it is the one signed, unpacks it into
// the stage and, once the program has quit, has a script put it in place of the install folder. Nothing
// it does can touch the installed copy before that script runs, and every failure leaves the stage
// empty and one sentence to show.
class Updater : public QObject {
    Q_OBJECT

public:
    enum class State { idle, checking, upToDate, available, downloading, ready, failed };

    explicit Updater(UpdaterSetup setup, QObject *parent = nullptr);
    ~Updater() override;

    const BundleInfo &bundle() const { return m_setup.bundle; }
    bool enabled() const { return m_setup.bundle.updatesEnabled(); }
    // Why this copy cannot replace itself, if it cannot.
    std::optional<InstallLayout::Refusal> installRefusal() const;

    State state() const { return m_state; }
    const std::optional<UpdateOffer> &offer() const { return m_offer; }
    qint64 received() const { return m_received; }
    // The sentence of the last failure.
    const QString &failure() const { return m_failure; }
    const QDateTime &lastChecked() const { return m_lastChecked; }
    // The state in one sentence, as the update window heads it.
    QString headline() const;
    // Why this copy cannot install the offered version, in one sentence; empty when it can.
    QString refusalSentence() const;

    bool autoUpdate() const;
    void setAutoUpdate(bool on);

    // Removes what an earlier run left behind and plans the first background check.
    void start();
    // A check on the user's behalf; while one is under way or an update is staged, nothing new starts.
    void checkNow();
    // Downloads and stages the offered version, then asks for the program to quit and start again.
    void installAndRelaunch();
    // Called as the program quits: with an update staged, starts the detached install script, which
    // starts the new version only when this quit is the one "Install and Relaunch" asked for.
    // True when one was started.
    bool installOnQuit();

signals:
    void changed();
    void autoUpdateChanged();
    // A background check found a version the user has not been shown yet.
    void announce();
    // The update chosen with "Install and Relaunch" is staged: the program should quit now.
    void relaunchRequested();

private:
    void check(bool byUser);
    void feedArrived(Transfer::Outcome outcome);
    std::optional<QString> offerProblem(const UpdateOffer &offer) const;
    void offerFound();
    void download(bool thenRelaunch);
    void relaunch();
    void archiveArrived(Transfer::Outcome outcome);
    void unpacked(bool ok, const QString &sentence);
    void setState(State state);
    void fail(const QString &sentence);
    void removeStage() const;
    void removeLeftovers() const;
    QString stagedFolder() const;
    QString archiveFile() const;
    QByteArray userAgent() const;

    UpdaterSetup m_setup;
    std::variant<QString, InstallLayout::Refusal> m_install;
    QNetworkAccessManager m_network;
    std::unique_ptr<Transfer> m_transfer;
    QTimer m_nextCheck;
    State m_state = State::idle;
    std::optional<UpdateOffer> m_offer;
    QString m_failure;
    QDateTime m_lastChecked;
    qint64 m_received = 0;
    bool m_byUser = false;
    // "Install and Relaunch" was chosen for the offer being downloaded.
    bool m_relaunch = false;
    // The program is quitting because "Install and Relaunch" asked it to.
    bool m_quitToRelaunch = false;
    bool m_unpacking = false;
    bool m_installerStarted = false;
};
