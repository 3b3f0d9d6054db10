#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A maker's Ed25519 key pair, made fresh for each test.
class TestKey {
public:
    TestKey();
    ~TestKey();
    TestKey(const TestKey &) = delete;
    TestKey &operator=(const TestKey &) = delete;

    QByteArray publicKey() const;
    QByteArray sign(const QByteArray &message) const;

private:
    struct evp_pkey_st *m_key;
};

// One entry of a test archive.
struct TestEntry {
    enum class Kind { file, directory, symlink, hardlink, fifo };
    QString path;
    Kind kind = Kind::file;
    QByteArray content;
    QString target;
};

// A .tar.xz with exactly these entries, written with libarchive so that any path can be made.
QByteArray makeArchive(const QList<TestEntry> &entries);
// What the install layout gives: the program alone in bin/, a file under share/, and the version the
// program was built as.
QList<TestEntry> installEntries(const QString &program, const QByteArray &marker, const QByteArray &version = "2.0");

// A small file system of its own mounted on `folder`, for this user alone, where the test may mount
// one; with `files`, it holds that many files and folders at most. It is gone when this ends.
class SmallDisk {
public:
    SmallDisk(const QString &folder, const QString &size, int files = 0);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};
