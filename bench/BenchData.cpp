#include "BenchData.h"

#include "AddressGenerator.h"
#include "definitions/DatabaseSession.h"
#include "foundations/ProductConfig.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/UserDialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

// Nobody answers questions while data is prepared: a message is an error.
class FailingDialogs : public UserDialogs {
public:
    Answer message(Kind, const QString& text, Buttons) override { throw QuillonError(text); }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
};

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw QuillonError(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

namespace BenchData {

void copyInstallation(const QString& shippedDir, const QString& dir) {
    const QDir source(shippedDir);
    QDirIterator it(shippedDir, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = dir + u'/' + source.relativeFilePath(from);
        QDir().mkpath(QFileInfo(to).path());
        if (!QFile::copy(from, to))
            throw QuillonError(QStringLiteral("Kann %1 nicht kopieren").arg(from));
    }
}

void writeDelimitedFile(const QString& path, std::int64_t n, const Poll& poll) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw QuillonError(file.errorString());
    const AddressGenerator generator;
    QByteArray chunk;
    for (std::int64_t i = 1; i <= n; ++i) {
        chunk += generator.address(i).join(u',').toUtf8();
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
            if (poll)
                poll();
        }
    }
    file.write(chunk);
    if (!file.flush())
        throw QuillonError(file.errorString());
}

void fillDatabase(const QString& installationDir, std::int64_t n, const Poll& poll) {
    FailingDialogs dialogs;
    DatabaseSession session(Folders::forProgramDir(installationDir + u'/',
                                                   installationDir + QStringLiteral("/MyLetters/")),
                            dialogs);
    session.open(QStringLiteral("Database.ini"));
    Table* table = session.activeTable();
    if (!table)
        throw QuillonError(QStringLiteral("Die Adressdatenbank ist nicht offen."));
    sqlite3* db = table->connection();

    QStringList columns = AddressGenerator::columns();
    QString sql = QStringLiteral("INSERT INTO records (Selected, Invalid");
    for (const QString& column : columns)
        sql += QStringLiteral(", \"%1\"").arg(column);
    sql += QStringLiteral(") VALUES (0, 0") + QStringLiteral(", ?").repeated(columns.size()) + u')';
    sqlite3_stmt* insert = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &insert, nullptr));
    check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr));
    const AddressGenerator generator;
    for (std::int64_t i = 1; i <= n; ++i) {
        const QStringList values = generator.address(i);
        for (int c = 0; c < values.size(); ++c) {
            if (values[c].isEmpty()) {
                sqlite3_bind_null(insert, c + 1);
            } else {
                const QByteArray utf8 = values[c].toUtf8();
                sqlite3_bind_text(insert, c + 1, utf8.constData(), static_cast<int>(utf8.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        check(db, sqlite3_step(insert));
        sqlite3_reset(insert);
        if (poll && i % 10000 == 0)
            poll();
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
}

} // namespace BenchData
