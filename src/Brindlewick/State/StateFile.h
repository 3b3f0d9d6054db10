#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

// A small file of the program's own state, kept in a folder of the user's alone: read when made, and
// written by the `FileWriter`, so no disk holds the program up. Each write replaces the whole file
// in one step, readable by the owner only, and never through a link: a link someone put in its place is
// replaced. In a folder others may write in nothing is read or written. One write asked for while
// another waits takes its place.
class StateFile {
public:
    explicit StateFile(QString path);
    // Waits for the last write asked for.
    ~StateFile();
    StateFile(const StateFile &) = delete;
    StateFile &operator=(const StateFile &) = delete;

    // What the file held when this was made; empty when there was none or it could not be read.
    const QByteArray &content() const { return m_content; }
    // Empty bytes remove the file.
    void write(QByteArray bytes);
    // Waits until every write asked for is on the disk, or the deadline passes; true when done.
    bool finish(QDeadlineTimer deadline);

private:
    QString m_path;
    QByteArray m_content;
};
