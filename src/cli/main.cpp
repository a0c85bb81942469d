#include "CliCommands.h"
#include "definitions/DatabaseSession.h"
#include "foundations/ProductConfig.h"
#include "foundations/QuillonError.h"
#include "foundations/StartupChecks.h"
#include "foundations/UserDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// On the command line nobody answers questions: messages go to stderr and every
// confirmation is taken as given.
class StderrDialogs : public UserDialogs {
public:
    explicit StderrDialogs(QTextStream& err) : m_err(err) {}
    Answer message(Kind, const QString& text, Buttons buttons) override {
        m_err << text << '\n';
        m_err.flush();
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }

private:
    QTextStream& m_err;
};

void printUsage(QTextStream& err) {
    err << "Aufruf: quillon-cli [--home ORDNER] [--letters ORDNER] [--db TABELLENLISTE] "
           "BEFEHL [ARGUMENTE]\n\nBefehle:\n";
    for (const CliCommand& command : cliCommands())
        err << "  " << command.synopsis << '\n';
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList args = app.arguments().mid(1);
    QString home = QCoreApplication::applicationDirPath();
    QString letters = Folders::defaultLettersDir();
    QString tableList = QStringLiteral("Database.ini");
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        if (option == u"--help") {
            printUsage(out);
            return 0;
        }
        if (args.isEmpty() ||
            (option != u"--home" && option != u"--letters" && option != u"--db")) {
            err << "quillon-cli: unbekannte oder unvollständige Option " << option << "\n\n";
            printUsage(err);
            return 2;
        }
        const QString value = args.takeFirst();
        if (option == u"--home")
            home = QFileInfo(value).absoluteFilePath();
        else if (option == u"--letters")
            letters = QFileInfo(value).absoluteFilePath();
        else
            tableList = value;
    }
    if (args.isEmpty()) {
        printUsage(err);
        return 2;
    }
    const QString name = args.takeFirst();
    const CliCommand* command = nullptr;
    for (const CliCommand& candidate : cliCommands())
        if (candidate.name == name)
            command = &candidate;
    if (!command) {
        err << "quillon-cli: unbekannter Befehl " << name << "\n\n";
        printUsage(err);
        return 2;
    }

    const Folders folders = Folders::forProgramDir(home, letters);
    StderrDialogs dialogs(err);
    try {
        if (StartupChecks::databasesInUse(folders.dataDir)) {
            err << StartupChecks::inUseMessage() << '\n';
            return 3;
        }
        DatabaseSession session(folders, dialogs);
        session.open(tableList);
        CliContext context{session, args, out, err};
        const int status = command->run(context);
        out.flush();
        return status;
    } catch (const CliUsageError& usage) {
        err << "quillon-cli " << name << ": " << usage.message << "\n\n";
        printUsage(err);
        return 2;
    } catch (const QuillonError& error) {
        err << error.message() << '\n';
        return 1;
    }
}
