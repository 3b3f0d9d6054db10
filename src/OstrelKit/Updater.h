#pragma once

#include "BundleInfo.h"
#include "InstallLayout.h"
#include "KitDefaults.h"
#include "Transfer.h"
#include "UpdateLogic.h"
#include "UpdateStage.h"

#include <QDateTime>
#include <QDir>
#include <QNetworkAccessManager>
#include <QObject>
#include <QProcessEnvironment>
#include <QTimer>
#include <memory>
#include <optional>

// What the updater is given: who the program is, where it runs from and how it was started, where it
// stages downloads, where its settings live, and how long it waits: without a byte (idle) and in all
// (limit).
struct UpdaterSetup {
    BundleInfo bundle;
    // The running program's file, whose install folder an update replaces.
    QString executable;
    // The program's cache folder: downloads and unpacked updates wait there until they are installed.
    QString cacheFolder;
    // What the program was started in and with: the copy "Install and Relaunch" starts gets the same.
    QString workingFolder = QDir::currentPath();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    KitDefaults defaults = KitDefaults::inMemory();
    int feedTimeoutMs = 10'000;
    int feedTimeLimitMs = UpdateLogic::feedTimeLimitMs;
    int downloadTimeoutMs = 30'000;
    // The download's limit: this, plus the time its announced size takes at the slowest rate let through.
    int downloadTimeLimitBaseMs = 60'000;
    int firstCheckDelayMs = 5'000;
    int recheckMs = 24 * 60 * 60 * 1000;

    // This process: the built-in bundle values, its own file, $XDG_CACHE_HOME/<name>.
    static UpdaterSetup live(KitDefaults defaults);
};

// Looks for a newer version in the feed (at start-up, once a day, and when asked), checks the maker's
// signature over what the feed offers (program, version, archive size and SHA-256) and that the signed
// version is newer than this one, downloads the archive, checks it is the one signed, unpacks it into
// the stage and, once the program has quit, has a script put it in place of the install folder. Nothing
// it does can touch the installed copy before that script runs; every failure leaves nothing of its
// own in the stage and one sentence to show, and a failure of the script is said at the next start.
class Updater : public QObject {
    Q_OBJECT

public:
    enum class State { idle, checking, upToDate, available, downloading, verifying, ready, failed };

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

    // Removes what an earlier run left behind, says why an update could not be installed at the last
    // quit, and plans the first background check.
    void start();
    // A check on the user's behalf, whose offer is announced; while one is under way nothing new
    // starts, and a staged update is announced again.
    void checkNow();
    // The update window has shown the offer: a background check does not announce it again.
    void offerShown();
    // Why the last try to install the offered version failed, when it did; empty otherwise.
    QString installFailureReason() const;
    // Downloads and stages the offered version, then asks for the program to quit and start again.
    void installAndRelaunch();
    // Called as the program quits: with an update staged, starts the detached install script, which
    // starts the new version only when this quit is the one "Install and Relaunch" asked for.
    // True when one was started.
    bool installOnQuit();

signals:
    void changed();
    void autoUpdateChanged();
    // There is something to show in the update window: the offer of a check the user asked for, a
    // version a background check found that the window has not shown yet, or an update that could
    // not be installed.
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
    void unpacked(const std::optional<QString> &problem);
    void staged();
    void tellInstallFailure();
    void forgetInstallFailure();
    void setState(State state);
    void fail(const QString &sentence);
    void removeLeftovers() const;
    QString program() const;
    QByteArray userAgent() const;

    UpdaterSetup m_setup;
    std::variant<QString, InstallLayout::Refusal> m_install;
    // Only a copy that can replace itself stages updates.
    std::unique_ptr<UpdateStage> m_stage;
    QNetworkAccessManager m_network;
    std::unique_ptr<Transfer> m_transfer;
    QTimer m_nextCheck;
    State m_state = State::idle;
    std::optional<UpdateOffer> m_offer;
    QString m_failure;
    // The version the install script could not install at an earlier quit; it waits for the user.
    std::optional<UpdateStage::Failure> m_installFailure;
    QDateTime m_lastChecked;
    qint64 m_received = 0;
    bool m_byUser = false;
    // "Install and Relaunch" was chosen for the offer being downloaded.
    bool m_relaunch = false;
    // The program is quitting because "Install and Relaunch" asked it to.
    bool m_quitToRelaunch = false;
    bool m_installerStarted = false;
};
