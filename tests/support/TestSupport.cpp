#include "TestSupport.h"

#include "foundations/Table.h"
#include "foundations/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sqlite3.h>

TestInstallation::TestInstallation() {
    const QString shipped = QStringLiteral(QUILLON_SHIPPED_DIR);
    QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(shipped).relativeFilePath(source);
        if (relative == u"CMakeLists.txt")
            continue;
        const QString target = m_dir.path() + u'/' + relative;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
    }
}

void TestInstallation::writeFile(const QString& relativePath, const QStringList& lines) const {
    const QString path = programDir() + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    TextFile::writeLines(path, lines);
}

QByteArray TestInstallation::readBytes(const QString& relativePath) const {
    QFile file(programDir() + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

UserDialogs::Answer RecordingDialogs::message(Kind kind, const QString& text, Buttons buttons) {
    shown.append({kind, text});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
}

QString RecordingDialogs::openFileName(const QString&, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::saveFileName(const QString&, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::folderName(const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList RecordingDialogs::texts() const {
    QStringList result;
    for (const Shown& s : shown)
        result.append(s.text);
    return result;
}

CliRun runCli(const TestInstallation& installation, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-cli"),
                  QStringList{QStringLiteral("--home"), installation.programDir(),
                              QStringLiteral("--letters"), installation.lettersDir()} +
                      args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

int indexCount(const Table& table) {
    int count = 0;
    table.forEachRow(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' "
                                    "AND tbl_name = 'records'"),
                     {}, [&](sqlite3_stmt* row) {
                         count = sqlite3_column_int(row, 0);
                         return false;
                     });
    return count;
}
