#include "FileNames.h"

#include "QuillonError.h"
#include "TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileNames {

QString resolve(const QString& path) {
    QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return path;
    const QString name = info.fileName();
    if (name.isEmpty())
        return path;
    QDir dir = info.dir();
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (SameTextIgnoringCase(entry, name))
            return path.left(path.size() - name.size()) + entry;
    return path;
}

bool exists(const QString& path) {
    return QFileInfo::exists(resolve(path));
}

bool remove(const QString& path) {
    const QString actual = resolve(path);
    if (!QFileInfo::exists(actual))
        return true;
    return QFile::remove(actual);
}

QString baseName(const QString& fileName) {
    return ExtractWord(1, fileName, QStringLiteral("."));
}

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." &&
           name != u".." && !name.contains(QChar(0));
}

void requirePlainFileName(const QString& name, const QString& sourceFile) {
    if (!isPlainFileName(name))
        throw QuillonError(
            QStringLiteral("Ungültiger Dateiname „%1“ in „%2“: erlaubt ist nur ein einfacher "
                           "Dateiname im Datenordner.")
                .arg(name, sourceFile));
}

} // namespace FileNames
