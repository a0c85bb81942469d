#pragma once

#include "foundations/Shell.h"
#include "foundations/UserDialogs.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

class Table;

// A temporary installation folder copied from the shipped one.
class TestInstallation {
public:
    TestInstallation();
    QString programDir() const { return m_dir.path() + u'/'; }
    QString dataDir() const { return programDir() + QStringLiteral("Data/"); }
    QString lettersDir() const { return m_dir.path() + QStringLiteral("/MyLetters/"); }
    bool isValid() const { return m_dir.isValid(); }

    // Writes a Windows-1252 text file with CR LF line ends below the installation.
    void writeFile(const QString& relativePath, const QStringList& lines) const;
    QByteArray readBytes(const QString& relativePath) const;

private:
    QTemporaryDir m_dir;
};

// Records every message and answers questions from a queue (Yes when it runs dry).
class RecordingDialogs : public UserDialogs {
public:
    struct Shown {
        Kind kind;
        QString text;
    };
    QList<Shown> shown;
    QList<Answer> answers;
    QStringList fileNames;

    Answer message(Kind kind, const QString& text, Buttons buttons) override;
    QString openFileName(const QString&, const QString&, const QString&) override;
    QString saveFileName(const QString&, const QString&, const QString&) override;
    QString folderName(const QString&, const QString&) override;
    QStringList texts() const;
};

// Records every outside start; reports success unless told otherwise.
class RecordingShell : public Shell {
public:
    QStringList opened;
    bool succeed = true;
    bool open(const QString& pathOrUrl) override {
        opened.append(pathOrUrl);
        return succeed;
    }
    bool start(const QString& program, const QStringList&) override {
        opened.append(program);
        return succeed;
    }
};

// What one run of the command-line tool on the installation gave.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs the built quillon-cli with the installation as its home and letters folder.
CliRun runCli(const TestInstallation& installation, const QStringList& args);

// The SQL indexes the table's records have now (bulk changes set some aside).
int indexCount(const Table& table);
