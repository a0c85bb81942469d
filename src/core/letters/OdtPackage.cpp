#include "OdtPackage.h"

#include "foundations/QuillonError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <zip.h>

namespace {

// Far above any letter's XML; keeps a crafted archive from filling the memory.
constexpr zip_uint64_t kMaxEntrySize = 256ull * 1024 * 1024;
// 2001-01-01 12:00 UTC; ZIP time stamps are local DOS times, a fixed one keeps output stable.
constexpr time_t kFixedTime = 978350400;

QString invalidDocument(const QString& path) {
    return QStringLiteral("Das Dokument „%1“ ist kein gültiges OpenDocument-Textdokument.")
        .arg(QDir::toNativeSeparators(path));
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

} // namespace

OdtPackage OdtPackage::read(const QString& path) {
    int error = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!archive) {
        if (!QFileInfo::exists(path))
            throw QuillonError(QStringLiteral("Das Dokument „%1“ gibt es nicht.")
                                   .arg(QDir::toNativeSeparators(path)));
        throw QuillonError(invalidDocument(path));
    }
    OdtPackage package;
    zip_uint64_t total = 0;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_NAME) ||
            stat.size > kMaxEntrySize || (total += stat.size) > 2 * kMaxEntrySize)
            throw QuillonError(invalidDocument(path));
        QByteArray data(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        zip_file_t* file = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (!file)
            throw QuillonError(invalidDocument(path));
        const zip_int64_t got = data.isEmpty() ? 0 : zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
            throw QuillonError(invalidDocument(path));
        package.m_entries.append({QString::fromUtf8(stat.name), data});
    }
    if (package.entry(QStringLiteral("mimetype")).trimmed() != textMimeType() ||
        !package.contains(QStringLiteral("content.xml")))
        throw QuillonError(invalidDocument(path));
    return package;
}

void OdtPackage::write(const QString& path) const {
    const auto failed = [&path](const QString& reason) {
        return QuillonError(QStringLiteral("Das Dokument „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(path), reason));
    };
    // Built beside the target and moved over it at the end, so a failure leaves the old file.
    QTemporaryFile temporary(QFileInfo(path).absolutePath() + QStringLiteral("/.quillon-XXXXXX"));
    if (!temporary.open())
        throw failed(temporary.errorString());
    const QString temporaryPath = temporary.fileName();
    temporary.close();

    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(temporaryPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw failed(QStringLiteral("ZIP-Fehler %1").arg(error));
    QList<Entry> ordered;
    for (const Entry& e : m_entries)
        if (e.name == u"mimetype")
            ordered.prepend(e);
        else
            ordered.append(e);
    for (const Entry& e : ordered) {
        zip_source_t* source = zip_source_buffer(archive, e.data.constData(),
                                                 static_cast<zip_uint64_t>(e.data.size()), 0);
        const zip_int64_t index = source ? zip_file_add(archive, e.name.toUtf8().constData(),
                                                        source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                         : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            const QString reason = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            throw failed(reason);
        }
        const bool stored = e.name == u"mimetype";
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, stored ? 0 : 6);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), kFixedTime, 0);
    }
    // The buffers above must live until here: libzip reads them while closing.
    if (zip_close(archive) != 0) {
        const QString reason = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        throw failed(reason);
    }
    QFile::setPermissions(temporaryPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadOther);
    if (std::rename(QFile::encodeName(temporaryPath).constData(),
                    QFile::encodeName(path).constData()) != 0)
        throw failed(QString::fromLocal8Bit(std::strerror(errno)));
    temporary.setAutoRemove(false);
}

QByteArray OdtPackage::entry(const QString& name) const {
    for (const Entry& e : m_entries)
        if (e.name == name)
            return e.data;
    return {};
}

bool OdtPackage::contains(const QString& name) const {
    for (const Entry& e : m_entries)
        if (e.name == name)
            return true;
    return false;
}

void OdtPackage::setEntry(const QString& name, const QByteArray& data) {
    for (Entry& e : m_entries)
        if (e.name == name) {
            e.data = data;
            return;
        }
    m_entries.append({name, data});
}
