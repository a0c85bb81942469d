#include "WordProcessor.h"

#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/Shell.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"

#include <QProcess>

namespace WordProcessor {

QStringList configuredCommand(const QString& programDir) {
    QStringList lines;
    try {
        lines =
            TextFile::readLines(FileNames::resolve(programDir + QStringLiteral("Serienbrief.ini")));
    } catch (const QuillonError&) {
        return {};
    }
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = Trim(raw);
        if (line.startsWith(u'[')) {
            inSection = SameTextIgnoringCase(line, QStringLiteral("[TEXTVERARBEITUNG]"));
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals > 0 &&
            SameTextIgnoringCase(Trim(line.left(equals)), QStringLiteral("Befehl")))
            return QProcess::splitCommand(Trim(line.mid(equals + 1)));
    }
    return {};
}

bool start(Shell& shell, const QString& programDir, const QString& documentPath) {
    QStringList command = configuredCommand(programDir);
    if (command.isEmpty())
        return shell.open(documentPath);
    const QString program = command.takeFirst();
    return shell.start(program, command << documentPath);
}

QString failureMessage() {
    return QStringLiteral("Unable to start Word!");
}

} // namespace WordProcessor
