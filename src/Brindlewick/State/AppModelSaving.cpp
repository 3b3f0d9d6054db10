#include "AppModel.h"

#include "FileWriter.h"
#include "Recovery.h"

#include "NoteMerge.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// An error quoted in brackets inside a sentence, which brings its own full stop.
QString inBrackets(QString error)
{
    if (error.endsWith(u'.'))
        error.chop(1);
    return error;
}

QString unreadableFileNotice()
{
    return AppModel::tr("Another program left a notes file Brindlewick couldn’t read, so Brindlewick saved the "
                        "notes it shows.");
}

} // namespace

void AppModel::load()
{
    // The file must first hold what this run last asked to save.
    m_writer.finish(QDeadlineTimer::Forever);
    const Date now = clock();
    const bool wasBlocked = loadBlocked();
    // A file that came while the load waited may be one still being written.
    NoteStore::Loaded loaded = m_store.load(now, wasBlocked);
    if (const auto *unfinished = std::get_if<NoteStore::Unfinished>(&loaded)) {
        if (!keptStill(unfinished->stamp))
            return;
        loaded = m_store.load(now);
    }
    const QString folder = QFileInfo(m_store.url()).absolutePath();
    if (const auto *unreadable = std::get_if<NoteStore::Unreadable>(&loaded))
        return cannotLoad(tr("Brindlewick couldn’t read your notes file in %1 (%2). Your notes are left as they "
                             "are and nothing is saved over them; Brindlewick tries again every few seconds.")
                              .arg(folder, inBrackets(unreadable->error)));
    if (const auto *stuck = std::get_if<NoteStore::Stuck>(&loaded))
        return cannotLoad(tr("Your notes file in %1 couldn’t be read, and it couldn’t be set aside as “%2” "
                             "either (%3). Brindlewick won’t save over it: mend or move the file, and Brindlewick "
                             "tries again every few seconds.")
                              .arg(folder, QFileInfo(stuck->setAside).fileName(), inBrackets(stuck->error)));

    m_loadRetry.stop();
    m_loaded = true;
    m_store.removeLeftovers();
    const auto *book = std::get_if<NoteBook>(&loaded);
    m_onDisk = book ? *book : NoteBook();
    m_lastRead = m_onDisk;
    m_writer.adopt(m_store.stamp(), m_store.disk(), false);
    m_writer.watch();
    adoptLoaded(m_onDisk, wasBlocked);
    if (const auto *damaged = std::get_if<NoteStore::Damaged>(&loaded)) {
        const QFileInfo aside(damaged->setAside);
        const QString problem = tr("Your notes file couldn’t be read, so Brindlewick started fresh. "
                                   "The old file was kept as “%1” in %2.")
                                    .arg(aside.fileName(), aside.absolutePath());
        setLoadProblem(problem);
        m_notifier->announce(Notifier::Problem::startedFresh, tr("Brindlewick started with no notes"), problem);
    } else if (wasBlocked) {
        setLoadProblem(std::nullopt);
    }
    // Started without its notes: their alerts were never scheduled.
    if (wasBlocked) {
        m_notifier->resolve(Notifier::Problem::cannotRead);
        reschedule();
    }
}

// Notes written while the file could not be read join the notebook once it could.
void AppModel::adoptLoaded(const NoteBook &book, bool wasBlocked)
{
    if (!wasBlocked)
        return setBook(book);
    const NoteBook merged = NoteMerge::merge({}, m_book, book).book;
    setBook(merged);
    if (merged != book)
        scheduleSave();
}

void AppModel::cannotLoad(const QString &problem)
{
    m_loaded = false;
    const bool first = !loadBlocked();
    m_loadRetry.start();
    setLoadProblem(problem);
    if (first)
        m_notifier->announce(Notifier::Problem::cannotRead, tr("Brindlewick can’t read your notes"), problem);
}

// Problems found at start that the user should know of, beside any load problem.
void AppModel::noticeStartProblems()
{
    QStringList notices;
    if (m_loadProblem)
        notices.append(*m_loadProblem);
    if (const std::optional<QString> aside = m_defaults.setAside()) {
        const QFileInfo file(*aside);
        notices.append(tr("Your settings file couldn’t be read, so Brindlewick uses its standard settings. "
                          "The old file was kept as “%1” in %2.")
                           .arg(file.fileName(), file.absolutePath()));
    }
    // Notes a past run could not save wait until the user has taken them, wherever they went.
    if (const QStringList kept = Recovery::pending(recoveryFolders()); !kept.isEmpty()) {
        const QFileInfo newest(kept.last());
        notices.append(tr("Notes that couldn’t be saved when Brindlewick last quit were kept as “%1” in %2.")
                           .arg(newest.fileName(), newest.absolutePath()));
    }
    notices += m_paths.notices({QFileInfo(m_defaults.path()).absolutePath()});
    if (!notices.isEmpty())
        setLoadProblem(notices.join(QStringLiteral("\n\n")));
}

// The writer does the writing; the model hears how it went in `writerReported`.
void AppModel::saveNow()
{
    m_saveTimer.stop();
    // A notebook that was never read must not replace the file it would have come from.
    if (!m_loaded)
        return;
    m_writer.write(m_book, clock());
}

bool AppModel::finishSaves(std::chrono::milliseconds within)
{
    return m_writer.finish(QDeadlineTimer(within));
}

void AppModel::writerReported(const NoteWriter::Report &report)
{
    if (const auto *saved = std::get_if<NoteWriter::Saved>(&report))
        return wrote(*saved);
    if (const auto *failed = std::get_if<NoteWriter::Failed>(&report))
        return saveFailed(failed->error);
    if (const auto *kept = std::get_if<NoteWriter::Kept>(&report)) {
        const QFileInfo copy(kept->copy);
        return tellChange(
            tr("The notes as Brindlewick had them are kept as “%1” in %2.").arg(copy.fileName(), copy.absolutePath()));
    }
    fileChanged(std::get<NoteWriter::Changed>(report));
}

void AppModel::wrote(const NoteWriter::Saved &saved)
{
    m_onDisk = saved.book;
    if (saveFailing())
        m_notifier->resolve(Notifier::Problem::cannotSave);
    m_saveRetry.stop();
    m_writer.watch();
    if (saved.displaced)
        tookThePlaceOf(*saved.displaced);
    if (saved.keptCopy)
        tellKept(*saved.keptCopy);
}

// Another program put its file in place while a write was under way, and the write took its place: its
// notes join those in hand as a changed file's do, and the file, which holds the write now, is written
// again when they bring anything.
void AppModel::tookThePlaceOf(const NoteWriter::Displaced &displaced)
{
    if (!displaced.theirs)
        m_changeNotice = unreadableFileNotice();
    else if (mergeIn(*displaced.theirs, m_onDisk) != m_onDisk)
        saveNow();
    tellKept(displaced.copy);
}

void AppModel::tellKept(const QString &copy)
{
    const QFileInfo kept(copy);
    tellChange(tr("The file as it was is kept as “%1” in %2.").arg(kept.fileName(), kept.absolutePath()));
}

// The banner of a merge grows by what became of the copies it could not keep in the notes file.
void AppModel::tellChange(const QString &sentence)
{
    m_changeNotice += QLatin1Char(' ') + sentence;
    setBanner(Banner(m_changeNotice));
}

// Another program changed the notes file since this run read or wrote it (a sync tool, a restore, a
// second machine): its notes are merged with those in hand. What loses is kept beside the file: the
// file as it was when the merge replaces it, the notes in hand as they were when an edit made here
// gives way.
void AppModel::fileChanged(const NoteWriter::Changed &change)
{
    // Reported again before the writer heard of the last merge.
    if (change.generation != m_writer.generation())
        return;
    if (change.unreadable)
        return saveFailed(tr("another program put a file Brindlewick can’t read in place of the notes file (%1)")
                              .arg(inBrackets(*change.unreadable)));
    if (change.awaited)
        return saveFailed(tr("your notes file is gone, and Brindlewick waits for it to come back (%1)")
                              .arg(inBrackets(*change.awaited)));
    if (!change.stamp) {
        m_onDisk = m_lastRead = NoteBook();
        m_writer.adopt(std::nullopt, change.disk, false);
        return saveNow();
    }
    if (!change.book) {
        if (!keptStill(change.stamp))
            return;
        m_writer.adopt(change.stamp, change.disk, true);
        m_changeNotice = unreadableFileNotice();
        return saveNow();
    }
    const NoteBook merged = mergeIn(*change.book, m_onDisk);
    m_onDisk = *change.book;
    const bool replaces = merged != *change.book;
    m_writer.adopt(change.stamp, change.disk, replaces);
    if (replaces)
        saveNow();
}

// The notes of a file another program wrote join those in hand; `seenLast`: the file as this run last
// knew it. The notes in hand are kept beside the file when an edit made here gives way. The merge.
NoteBook AppModel::mergeIn(const NoteBook &theirs, const NoteBook &seenLast)
{
    const NoteMerge::Merged merged = NoteMerge::merge({m_lastRead, seenLast}, m_book, theirs);
    const NoteBook before = m_book;
    m_lastRead = theirs;
    setBook(merged.book);
    if (merged.cameIn > 0)
        reschedule();
    m_changeNotice = merged.cameIn == 1 ? tr("1 note came in from a changed notes file.")
                     : merged.cameIn > 1 ? tr("%1 notes came in from a changed notes file.").arg(merged.cameIn)
                                         : tr("Another program changed your notes file.");
    if (merged.cameIn > 0)
        setBanner(Banner(m_changeNotice));
    if (merged.oursLost)
        m_writer.keep(before, clock());
    return merged.book;
}

// A file that does not decode may be one another program is still writing: it counts as damaged only
// once it has kept still for a moment, and is looked at again then.
bool AppModel::keptStill(const std::optional<FileStamp> &stamp)
{
    if (stamp == m_unfinished)
        return !m_quiet.isActive();
    m_unfinished = stamp;
    m_quiet.start();
    return false;
}

// The notes file or a folder on its way changed, or a file that did not decode kept still a moment.
void AppModel::lookAgain()
{
    if (m_loaded)
        m_writer.check(clock());
    else if (loadBlocked())
        load();
}

// One banner and one notification per run of failures; the retry goes on quietly.
void AppModel::saveFailed(const QString &error)
{
    if (saveFailing())
        return;
    m_saveRetry.start();
    const QString text = tr("Couldn’t save notes: %1").arg(error);
    setBanner(Banner(text));
    m_notifier->announce(Notifier::Problem::cannotSave, tr("Brindlewick couldn’t save your notes"),
                         text + QLatin1Char('\n') + tr("Brindlewick tries again every few seconds."));
}

// A disk that does not answer holds the quit up only so long: then the notes go to a recovery file.
void AppModel::saveBeforeQuit()
{
    saveNow();
    const QDeadlineTimer deadline(m_quitWait);
    const bool saved = m_loaded && m_writer.finish(deadline) && !saveFailing() && m_book == m_onDisk;
    FileWriter::shared().finish(deadline);
    const bool unsaved = m_loaded ? !saved : !m_book.notes.isEmpty();
    if (!unsaved || m_recovered == m_book)
        return;
    const Recovery::Written written = Recovery::write(m_book, clock(), recoveryFolders());
    const QString line =
        written.file ? tr("Brindlewick: your notes couldn’t be saved, so they were written to %1").arg(*written.file)
                     : tr("Brindlewick: your notes couldn’t be saved, and no recovery file could be written (%1)")
                           .arg(written.error);
    std::fprintf(stderr, "%s\n", qPrintable(line));
    if (written.file)
        m_recovered = m_book;
}

// The user's own folders, in the order a recovery file tries them.
QStringList AppModel::recoveryFolders() const
{
    return {Paths::stateFolder(), m_paths.data, QDir::homePath()};
}

void AppModel::scheduleSave()
{
    m_saveTimer.start();
}
