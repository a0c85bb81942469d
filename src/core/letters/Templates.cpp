#include "Templates.h"

#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace Templates {

namespace {

const QString kHiddenSuffix = QStringLiteral(".bak");

void makeReadOnly(const QString& path) {
    QFile::setPermissions(path,
                          QFile::permissions(path) & ~(QFile::WriteOwner | QFile::WriteUser |
                                                       QFile::WriteGroup | QFile::WriteOther));
}

} // namespace

QString catalogueName() {
    return QStringLiteral("Vorlagen.ini");
}

QStringList catalogue(const QString& lettersDir) {
    QStringList names;
    for (const QString& line : TextFile::readLines(lettersDir + catalogueName())) {
        const QString name = Trim(line);
        if (FileNames::isPlainFileName(name))
            names.append(name);
    }
    return names;
}

bool ensureLettersFolder(const QString& lettersDir, const QString& programDir) {
    if (QFileInfo(lettersDir).isDir())
        return true;
    if (!QDir().mkpath(lettersDir))
        return false;
    const QString shipped = FileNames::resolve(programDir + QStringLiteral("MyLetters"));
    QDirIterator it(shipped, QDir::Files);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = WithTrailingSeparator(lettersDir) + QFileInfo(source).fileName();
        QFile::copy(source, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
    }
    return true;
}

void protect(const QString& lettersDir) {
    for (const QString& name : catalogue(lettersDir)) {
        const QString path = FileNames::resolve(lettersDir + name);
        if (QFileInfo(path).isFile())
            makeReadOnly(path);
    }
}

QStringList hide(const QString& lettersDir) {
    QStringList hidden;
    for (const QString& name : catalogue(lettersDir)) {
        const QString path = FileNames::resolve(lettersDir + name);
        if (QFileInfo(path).isFile() && QFile::rename(path, path + kHiddenSuffix))
            hidden.append(name);
    }
    return hidden;
}

void restore(const QString& lettersDir) {
    QStringList names;
    try {
        names = catalogue(lettersDir);
    } catch (const QuillonError&) {
        return; // without a catalogue nothing was hidden
    }
    for (const QString& name : names) {
        const QString hidden = FileNames::resolve(lettersDir + name + kHiddenSuffix);
        if (!QFileInfo(hidden).isFile())
            continue;
        const QString original = hidden.chopped(kHiddenSuffix.size());
        // A template of that name that is already back is never overwritten.
        if (!QFileInfo::exists(original))
            QFile::rename(hidden, original);
        if (QFileInfo(original).isFile())
            makeReadOnly(original);
    }
}

Hidden::Hidden(const QString& lettersDir) : m_lettersDir(lettersDir) {
    try {
        hide(lettersDir);
    } catch (...) {
        restore(lettersDir);
        throw;
    }
}

Hidden::~Hidden() {
    restore(m_lettersDir);
}

QString letterFilter() {
    return QStringLiteral("Brief-Vorlagen (Brief-Vorlage*)");
}
QString labelFilter() {
    return QStringLiteral("Etiketten-Vorlagen (Adress-Etikett*)");
}
QString envelopeFilter() {
    return QStringLiteral("Briefumschlag-Vorlagen (Briefumschlag*)");
}
QString ownDocumentFilter() {
    return QStringLiteral("Eigene Word Dokumente (*.odt *.doc *.docx)");
}

bool isOpenDocumentText(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("odt"), Qt::CaseInsensitive) == 0;
}

} // namespace Templates
