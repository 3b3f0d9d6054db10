#include "UpdateFixtures.h"

#include <QDir>
#include <QProcess>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <openssl/evp.h>

TestKey::TestKey() : m_key(nullptr)
{
    const std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(
        EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr), &EVP_PKEY_CTX_free);
    EVP_PKEY_keygen_init(context.get());
    EVP_PKEY_keygen(context.get(), &m_key);
}

TestKey::~TestKey()
{
    EVP_PKEY_free(m_key);
}

QByteArray TestKey::publicKey() const
{
    QByteArray key(32, '\0');
    size_t size = size_t(key.size());
    EVP_PKEY_get_raw_public_key(m_key, reinterpret_cast<unsigned char *>(key.data()), &size);
    return key;
}

QByteArray TestKey::sign(const QByteArray &message) const
{
    QByteArray signature(64, '\0');
    size_t size = size_t(signature.size());
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key);
    EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &size,
                   reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()));
    return signature;
}

QByteArray makeArchive(const QList<TestEntry> &entries)
{
    QByteArray bytes(4 * 1024 * 1024, '\0');
    size_t used = 0;
    archive *out = archive_write_new();
    archive_write_set_format_pax_restricted(out);
    archive_write_add_filter_xz(out);
    archive_write_open_memory(out, bytes.data(), size_t(bytes.size()), &used);
    for (const TestEntry &item : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.path.toUtf8().constData());
        archive_entry_set_perm(entry, item.kind == TestEntry::Kind::directory ? 0755 : 0644);
        switch (item.kind) {
        case TestEntry::Kind::file:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0755);
            archive_entry_set_size(entry, item.content.size());
            break;
        case TestEntry::Kind::directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case TestEntry::Kind::symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.target.toUtf8().constData());
            break;
        case TestEntry::Kind::hardlink:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_hardlink(entry, item.target.toUtf8().constData());
            break;
        case TestEntry::Kind::fifo:
            archive_entry_set_filetype(entry, AE_IFIFO);
            break;
        }
        archive_write_header(out, entry);
        if (item.kind == TestEntry::Kind::file)
            archive_write_data(out, item.content.constData(), size_t(item.content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(out);
    archive_write_free(out);
    bytes.truncate(qsizetype(used));
    return bytes;
}

QList<TestEntry> installEntries(const QString &program, const QByteArray &marker, const QByteArray &version)
{
    return {{"./bin", TestEntry::Kind::directory, {}, {}},
            {"./bin/" + program, TestEntry::Kind::file, "#!/bin/sh\nexit 0\n" + marker, {}},
            {"./share/kit", TestEntry::Kind::directory, {}, {}},
            {"./share/kit/release", TestEntry::Kind::file, marker, {}},
            {"./share/ostrel", TestEntry::Kind::directory, {}, {}},
            {"./share/ostrel/version", TestEntry::Kind::file, version + "\n", {}}};
}

SmallDisk::SmallDisk(const QString &folder, const QString &size, int files) : m_folder(folder)
{
    QDir().mkpath(folder);
    const QString options = "size=" + size + ",mode=0700" + (files > 0 ? ",nr_inodes=" + QString::number(files) : "");
    m_mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        QProcess::execute("umount", {m_folder});
}
