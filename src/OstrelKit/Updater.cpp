#include "Updater.h"

#include "ArchiveUnpack.h"
#include "Ed25519.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace {

const QString autoUpdateKey = QStringLiteral("OstrelAutoUpdate");

QString unpackSentence(ArchiveUnpack::Problem problem, const QString &folder)
{
    using ArchiveUnpack::Problem;
    switch (problem) {
    case Problem::absolutePath:
    case Problem::parentPath:
        return Updater::tr("The update holds a file that would land outside its folder, so it was not installed.");
    case Problem::linkOut:
        return Updater::tr("The update holds a link that leads out of its folder, so it was not installed.");
    case Problem::specialFile:
        return Updater::tr("The update holds a device or other special file, so it was not installed.");
    case Problem::tooLarge:
        return Updater::tr("The update is too large once unpacked, so it was not installed.");
    case Problem::tooManyEntries:
        return Updater::tr("The update holds too many files, so it was not installed.");
    case Problem::diskFull:
        return Updater::tr("The update could not be unpacked because the disk is full.");
    case Problem::writeFailed:
        return Updater::tr("The update could not be unpacked into %1.").arg(folder);
    case Problem::unreadable:
        break;
    }
    return Updater::tr("The update could not be read as an archive, so it was not installed.");
}

// `name` is the program's; `folder` the one the download is saved in.
QString transferSentence(Transfer::Outcome outcome, int httpStatus, bool feed, const QString &name,
                         const QString &folder)
{
    switch (outcome) {
    case Transfer::Outcome::timedOut:
        return Updater::tr("The update server did not answer in time.");
    case Transfer::Outcome::tooSlow:
        return feed ? Updater::tr("The update server sent the update information too slowly, so the check was stopped.")
                    : Updater::tr("The download was too slow to finish in time, so it was stopped.");
    case Transfer::Outcome::httpError:
        return Updater::tr("The update server answered with error %1.").arg(httpStatus);
    case Transfer::Outcome::badRedirect:
        return Updater::tr("The update server sent %1 to an address that is not secure.").arg(name);
    case Transfer::Outcome::redirectLoop:
        return Updater::tr("The update server kept sending %1 on to other addresses, so it gave up.").arg(name);
    case Transfer::Outcome::tooLarge:
        return feed ? Updater::tr("The update information is too large to be genuine.")
                    : Updater::tr("The download was larger than announced, so it was stopped.");
    case Transfer::Outcome::tooShort:
        return Updater::tr("The download ended before it was complete.");
    case Transfer::Outcome::diskFull:
        return Updater::tr("The update could not be saved because the disk is full.");
    case Transfer::Outcome::writeFailed:
        return Updater::tr("The update could not be saved in %1.").arg(folder);
    case Transfer::Outcome::networkError:
    case Transfer::Outcome::ok:
        break;
    }
    return Updater::tr("The update server could not be reached.");
}

// $XDG_CACHE_HOME, unless it is relative, which the XDG rules say to ignore.
QString cacheHome()
{
    const QString folder = qEnvironmentVariable("XDG_CACHE_HOME");
    return QDir::isAbsolutePath(folder) ? folder : QDir::homePath() + QStringLiteral("/.cache");
}

} // namespace

UpdaterSetup UpdaterSetup::live(KitDefaults defaults)
{
    UpdaterSetup setup;
    setup.bundle = BundleInfo::current();
    setup.executable = QCoreApplication::applicationFilePath();
    setup.cacheFolder = cacheHome() + QLatin1Char('/') + setup.bundle.name;
    setup.defaults = std::move(defaults);
    return setup;
}

Updater::Updater(UpdaterSetup setup, QObject *parent)
    : QObject(parent), m_setup(std::move(setup)), m_install(InstallLayout::updatableFolder(m_setup.executable))
{
    if (const auto *folder = std::get_if<QString>(&m_install))
        m_stage = std::make_unique<UpdateStage>(m_setup.cacheFolder, *folder);
    m_nextCheck.setSingleShot(true);
    connect(&m_nextCheck, &QTimer::timeout, this, [this] { check(false); });
}

Updater::~Updater() = default;

std::optional<InstallLayout::Refusal> Updater::installRefusal() const
{
    if (const auto *refusal = std::get_if<InstallLayout::Refusal>(&m_install))
        return *refusal;
    return std::nullopt;
}

bool Updater::autoUpdate() const
{
    return m_setup.defaults.boolValue(autoUpdateKey).value_or(false);
}

void Updater::setAutoUpdate(bool on)
{
    if (on == autoUpdate())
        return;
    m_setup.defaults.setBool(autoUpdateKey, on);
    emit autoUpdateChanged();
}

void Updater::start()
{
    if (!enabled())
        return;
    removeLeftovers();
    tellInstallFailure();
    m_nextCheck.start(m_setup.firstCheckDelayMs);
}

// Said once; until the user chooses to install that version again, it is not staged by itself.
void Updater::tellInstallFailure()
{
    m_installFailure = m_stage ? m_stage->failure() : std::nullopt;
    if (!m_installFailure)
        return;
    if (!UpdateLogic::isNewer(m_installFailure->version, m_setup.bundle.version))
        return forgetInstallFailure();
    if (m_installFailure->told)
        return;
    m_stage->markFailureTold();
    fail(m_installFailure->reason.isEmpty()
             ? tr("The update to %1 could not be installed.").arg(m_installFailure->version)
             : tr("The update to %1 could not be installed: %2.")
                   .arg(m_installFailure->version, m_installFailure->reason));
    QMetaObject::invokeMethod(this, &Updater::announce, Qt::QueuedConnection);
}

void Updater::forgetInstallFailure()
{
    m_installFailure.reset();
    if (m_stage)
        m_stage->forgetFailure();
}

QString Updater::installFailureReason() const
{
    if (!m_installFailure || !m_offer || m_installFailure->version != m_offer->version)
        return {};
    return m_installFailure->reason;
}

void Updater::checkNow()
{
    if (m_state == State::ready)
        return emit announce();
    if (m_state == State::checking || m_state == State::downloading || m_state == State::verifying)
        return;
    check(true);
}

void Updater::check(bool byUser)
{
    if (!enabled() || m_transfer || m_state == State::verifying || m_state == State::ready)
        return;
    m_byUser = byUser;
    m_nextCheck.stop();
    setState(State::checking);
    m_transfer = std::make_unique<Transfer>(
        m_network, m_setup.bundle.feedUrl, m_setup.bundle.feedUrl, userAgent(),
        Transfer::Limits{UpdateLogic::maxFeedBytes, 0, m_setup.feedTimeoutMs, m_setup.feedTimeLimitMs});
    connect(m_transfer.get(), &Transfer::finished, this, &Updater::feedArrived);
}

void Updater::feedArrived(Transfer::Outcome outcome)
{
    Transfer *const transfer = m_transfer.release();
    transfer->deleteLater();
    m_lastChecked = QDateTime::currentDateTime();
    m_nextCheck.start(m_setup.recheckMs);
    if (outcome != Transfer::Outcome::ok)
        return fail(
            transferSentence(outcome, transfer->httpStatus(), true, m_setup.bundle.name, m_setup.cacheFolder));
    const UpdateLogic::FeedVerdict verdict =
        UpdateLogic::readFeed(transfer->body(), m_setup.bundle.version, m_setup.bundle.feedUrl);
    if (std::holds_alternative<UpdateLogic::FeedProblem>(verdict))
        return fail(tr("The update information from the server is not valid."));
    const std::optional<UpdateOffer> &offer = std::get<std::optional<UpdateOffer>>(verdict);
    if (!offer)
        return setState(State::upToDate);
    if (const std::optional<QString> problem = offerProblem(*offer))
        return fail(*problem);
    m_offer = offer;
    // Shown beside a signed offer, so only as the maker signed them.
    const bool notesSigned = Ed25519::verify(m_setup.bundle.publicKey, offer->notesSignature,
                                             UpdateLogic::signedNotes(*offer));
    m_offer->notes = notesSigned ? UpdateLogic::shownNotes(offer->notes) : QString();
    setState(State::available);
    offerFound();
}

// Only what the maker signed counts: the feed's own word on the version is checked against it.
std::optional<QString> Updater::offerProblem(const UpdateOffer &offer) const
{
    const QString &name = m_setup.bundle.name;
    if (!Ed25519::verify(m_setup.bundle.publicKey, offer.signature, offer.manifest))
        return tr("The update is not signed by the maker of %1, so it was not installed.").arg(name);
    const std::optional<UpdateLogic::ReleaseProblem> problem =
        UpdateLogic::releaseProblem(offer, name, m_setup.bundle.version);
    if (!problem)
        return std::nullopt;
    switch (*problem) {
    case UpdateLogic::ReleaseProblem::otherProgram:
        return tr("The update is signed for another program, so it was not installed.");
    case UpdateLogic::ReleaseProblem::notNewer:
        return tr("The update offered as %1 is signed as version %2, which is not newer than the %3 you have, "
                  "so it was not installed.")
            .arg(offer.version, offer.release.version, m_setup.bundle.version);
    case UpdateLogic::ReleaseProblem::notAsOffered:
        break;
    }
    return tr("The update offered as %1 is signed as version %2, so it was not installed.")
        .arg(offer.version, offer.release.version);
}

// Shown until the window has shown it; with automatic updates on, a copy that can replace itself
// stages quietly, unless the same version could not be installed before.
void Updater::offerFound()
{
    if (m_installFailure && m_installFailure->version != m_offer->version)
        forgetInstallFailure();
    if (m_byUser)
        return emit announce();
    if (m_installFailure)
        return;
    if (autoUpdate() && !installRefusal())
        return download(false);
    if (!m_setup.defaults.boolValue(UpdateLogic::announcedKey(m_offer->version)).value_or(false))
        emit announce();
}

void Updater::offerShown()
{
    if (m_state == State::available)
        m_setup.defaults.setBool(UpdateLogic::announcedKey(m_offer->version), true);
}

QString Updater::headline() const
{
    const QString &name = m_setup.bundle.name;
    switch (m_state) {
    case State::idle:
        return tr("Not checked yet.");
    case State::checking:
        return tr("Checking…");
    case State::upToDate:
        return tr("%1 %2 is up to date.").arg(name, m_setup.bundle.version);
    case State::available:
        return tr("%1 %2 is available.").arg(name, m_offer->version);
    case State::downloading:
        return tr("Downloading %1 %2…").arg(name, m_offer->version);
    case State::verifying:
        return tr("Checking the download…");
    case State::ready:
        return tr("%1 %2 is ready to install when you quit.").arg(name, m_offer->version);
    case State::failed:
        break;
    }
    return m_failure;
}

QString Updater::refusalSentence() const
{
    if (!installRefusal())
        return {};
    return *installRefusal() == InstallLayout::Refusal::readOnly
               ? tr("This copy’s folder cannot be written, so it cannot update itself.")
               : tr("This copy was not installed in a folder it can update.");
}

void Updater::installAndRelaunch()
{
    if (m_state == State::ready)
        relaunch();
    else if (m_state == State::available)
        download(true);
}

void Updater::relaunch()
{
    m_quitToRelaunch = true;
    emit relaunchRequested();
}

// A version another process of this copy staged already is taken as it is.
void Updater::download(bool thenRelaunch)
{
    if (installRefusal())
        return fail(refusalSentence());
    m_relaunch = thenRelaunch;
    if (thenRelaunch)
        forgetInstallFailure();
    if (!m_stage->make()) {
        const std::optional<QString> why = m_stage->whyNotOwn();
        return fail(why ? tr("The update was not downloaded, as %1.").arg(*why)
                        : transferSentence(Transfer::Outcome::writeFailed, 0, false, m_setup.bundle.name,
                                           m_stage->folder()));
    }
    if (m_stage->hold(m_offer->version, program()))
        return staged();
    m_stage->dropOwn(m_offer->version);
    m_received = 0;
    setState(State::downloading);
    const qint64 size = m_offer->release.size;
    m_transfer = std::make_unique<Transfer>(
        m_network, m_offer->archiveUrl, m_setup.bundle.feedUrl, userAgent(),
        Transfer::Limits{size, size, m_setup.downloadTimeoutMs,
                         UpdateLogic::downloadTimeLimitMs(size, m_setup.downloadTimeLimitBaseMs)},
        m_stage->archiveFile(m_offer->version));
    connect(m_transfer.get(), &Transfer::progress, this, [this](qint64 received) {
        m_received = received;
        emit changed();
    });
    connect(m_transfer.get(), &Transfer::finished, this, &Updater::archiveArrived);
}

// The bytes that came must be the ones signed before a single entry is unpacked, and what they hold
// must be the program of the signed version.
void Updater::archiveArrived(Transfer::Outcome outcome)
{
    Transfer *const transfer = m_transfer.release();
    transfer->deleteLater();
    if (outcome != Transfer::Outcome::ok)
        return fail(
            transferSentence(outcome, transfer->httpStatus(), false, m_setup.bundle.name, m_stage->folder()));
    if (transfer->sha256() != m_offer->release.sha256)
        return fail(tr("The download is not the one signed by the maker of %1, so it was not installed.")
                        .arg(m_setup.bundle.name));

    setState(State::verifying);
    const QString archivePath = m_stage->archiveFile(m_offer->version);
    const QString folder = m_stage->unpackFolder(m_offer->version);
    const QString name = program();
    const QString &version = m_offer->release.version;
    const QString &brand = m_setup.bundle.name;
    const ArchiveUnpack::Limits limits{UpdateLogic::unpackedLimit(m_offer->release.size),
                                       UpdateLogic::maxArchiveEntries};
    auto problem = std::make_shared<std::optional<QString>>();
    QThread *worker = QThread::create([archivePath, folder, name, version, brand, limits, problem] {
        if (!QDir().mkpath(folder))
            *problem = unpackSentence(ArchiveUnpack::Problem::writeFailed, folder);
        else if (const auto refused = ArchiveUnpack::unpack(archivePath, folder, limits))
            *problem = unpackSentence(*refused, folder);
        else if (!InstallLayout::isOwnLayout(folder, name))
            *problem = Updater::tr("The download is not a complete copy of the program, so it was not installed.");
        else if (const QString inside = InstallLayout::version(folder); inside.isEmpty())
            *problem = Updater::tr("The update signed as version %1 does not say which version of %2 it holds, so "
                                   "it was not installed.").arg(version, brand);
        else if (inside != version)
            *problem = Updater::tr("The update signed as version %1 holds %2 %3, so it was not installed.")
                           .arg(version, brand, inside);
    });
    connect(worker, &QThread::finished, this, [this, problem] { unpacked(*problem); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void Updater::unpacked(const std::optional<QString> &problem)
{
    if (problem)
        return fail(*problem);
    if (!m_stage->keep(m_offer->version, program()))
        return fail(unpackSentence(ArchiveUnpack::Problem::writeFailed, m_stage->folder()));
    staged();
}

void Updater::staged()
{
    m_stage->dropOwn(m_offer->version);
    setState(State::ready);
    if (m_relaunch)
        relaunch();
}

bool Updater::installOnQuit()
{
    if (m_installerStarted)
        return true;
    const auto *folder = std::get_if<QString>(&m_install);
    if (m_state != State::ready || !folder)
        return false;
    QFile script(QStringLiteral(":/ostrel/install.sh"));
    if (!script.open(QIODevice::ReadOnly))
        return false;
    // The new copy reports its own version, not one this process was told to pretend.
    QProcessEnvironment environment = m_setup.environment;
    environment.remove(BundleInfo::versionKey);
    QProcess installer;
    installer.setProgram(QStringLiteral("/bin/sh"));
    installer.setArguments({QStringLiteral("-c"), QString::fromUtf8(script.readAll()), QStringLiteral("ostrel-install"),
                            QString::number(QCoreApplication::applicationPid()), *folder,
                            m_stage->versionFolder(m_offer->version),
                            m_quitToRelaunch ? QStringLiteral("1") : QStringLiteral("0"),
                            QStringLiteral("bin/") + program(), InstallLayout::exchangeHelper(*folder),
                            m_setup.workingFolder, QString::number(m_stage->handOver(m_offer->version))});
    installer.setProcessEnvironment(environment);
    // Not a folder it would keep in use: the script starts the program in its own folder.
    installer.setWorkingDirectory(QStringLiteral("/"));
    installer.setStandardInputFile(QProcess::nullDevice());
    m_installerStarted = installer.startDetached();
    return m_installerStarted;
}

void Updater::setState(State state)
{
    m_state = state;
    emit changed();
}

void Updater::fail(const QString &sentence)
{
    if (m_offer && m_stage)
        m_stage->dropOwn(m_offer->version);
    m_failure = sentence;
    m_relaunch = false;
    setState(State::failed);
}

// Stages no running copy holds go (the next check finds the version again), and so do the
// half-made copies of an install script that was killed, once their script is gone.
void Updater::removeLeftovers() const
{
    const auto *folder = std::get_if<QString>(&m_install);
    if (!folder)
        return;
    m_stage->removeUnused();
    const QFileInfo install(*folder);
    const QRegularExpression leftover(QStringLiteral("^\\.%1\\.(new|old)-(\\d+)$")
                                          .arg(QRegularExpression::escape(install.fileName())));
    const QDir parent = install.absoluteDir();
    for (const QString &name : parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = leftover.match(name);
        if (match.hasMatch() && !UpdateStage::isRunning(match.captured(2).toLongLong()))
            QDir(parent.filePath(name)).removeRecursively();
    }
}

QString Updater::program() const
{
    return QFileInfo(m_setup.executable).fileName();
}

QByteArray Updater::userAgent() const
{
    return (m_setup.bundle.name + QLatin1Char('/') + m_setup.bundle.version).toUtf8();
}
