#include "Descriptors.h"

#include "foundations/FileNames.h"
#include "foundations/TextHelpers.h"

#include <QFileInfo>

ProfileField ProfileField::fromLine(const QString& line) {
    ProfileField field;
    field.name = Column(line, 1);
    field.typeName = Column(line, 2);
    field.requiredFlag = Column(line, 3);
    field.size = Column(line, 4);
    field.indexName = Column(line, 5);
    field.indexFields = Column(line, 6);
    field.primaryFlag = Column(line, 7);
    field.sortableFlag = Column(line, 8);
    field.displayName = Column(line, 9);
    return field;
}

bool ProfileField::isRequired() const {
    return AsciiUpper(requiredFlag) == u"TRUE";
}
bool ProfileField::isSortable() const {
    return AsciiUpper(sortableFlag) == u"TRUE";
}

namespace Profile {

bool hasDisplayNames(const QStringList& lines) {
    return !lines.isEmpty() && lines.first().contains(QStringLiteral("ANZEIGENAME"));
}

QList<ProfileField> fields(const QStringList& lines) {
    QList<ProfileField> result;
    for (int i = 1; i < lines.size(); ++i)
        result.append(ProfileField::fromLine(lines[i]));
    return result;
}

int lineOfField(const QStringList& lines, const QString& fieldName) {
    for (int i = 1; i < lines.size(); ++i)
        if (Column(lines[i], 1) == fieldName)
            return i;
    return -1;
}

} // namespace Profile

namespace Catalogue {

int databaseCount(const QStringList& lines) {
    return std::max(0, int(lines.size()) - 1);
}

bool offersDatabaseCommands(const QStringList& lines) {
    return lines.size() > 2;
}

int entryLineFor(const QStringList& lines, const QString& tableListName) {
    int found = 1;
    const QString wanted = AsciiUpper(tableListName);
    for (int i = 0; i < lines.size(); ++i)
        if (ContainsText(AsciiUpper(lines[i]), wanted))
            found = i;
    return found;
}

QString displayName(const QString& line) {
    return Column(line, 1);
}
QString tableListName(const QString& line) {
    return Column(line, 3);
}

QString entryLine(const QString& displayName, const QString& foldedName) {
    return displayName + QStringLiteral("| cddrive.bmp|") + foldedName + QStringLiteral(".ini");
}

} // namespace Catalogue

namespace TableList {

QString header() {
    return QStringLiteral("TABLE        TABELNAME");
}

QStringList linesFor(const QString& tableName) {
    return {header(), QStringLiteral("Table1      |") + tableName};
}

QString tableName(const QStringList& lines, int n, const QString& sourceFile) {
    const QString name = n < lines.size() ? Column(lines[n], 2) : QString();
    FileNames::requirePlainFileName(name, sourceFile);
    return name;
}

int tableCount(const QStringList& lines) {
    return std::max(0, int(lines.size()) - 1);
}

} // namespace TableList

namespace FilterPresets {

QStringList labels(const QStringList& lines) {
    QStringList result;
    for (int i = 1; i < lines.size(); ++i)
        result.append(Column(lines[i], 1));
    return result;
}

QString expression(const QStringList& lines, int n) {
    return n >= 0 && n < lines.size() ? Column(lines[n], 2) : QString();
}

} // namespace FilterPresets

namespace ChoiceLists {

namespace {
int lastLineOf(const QStringList& lines, const QString& fieldName) {
    int found = -1;
    for (int i = 1; i < lines.size(); ++i)
        if (Column(lines[i], 1) == fieldName)
            found = i;
    return found;
}
} // namespace

QStringList choicesFor(const QStringList& lines, const QString& fieldName) {
    const int line = lastLineOf(lines, fieldName);
    if (line < 0)
        return {};
    const QString list = Column(lines[line], 2);
    const bool keyed = list.contains(u'=');
    QStringList choices;
    const int count = CountWords(list, QStringLiteral(";"));
    for (int i = 1; i <= count; ++i) {
        QString choice = Trim(ExtractWord(i, list, QStringLiteral(";")));
        if (keyed && choice.contains(u'='))
            choice = Trim(choice.left(choice.indexOf(u'=')));
        choices.append(choice);
    }
    return choices;
}

bool hasChoices(const QStringList& lines, const QString& fieldName) {
    return lastLineOf(lines, fieldName) >= 0;
}

} // namespace ChoiceLists

namespace DescriptorPaths {

namespace {
QString folderOf(const QString& path) {
    const int slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}
QString fileOf(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}
} // namespace

QString layoutFile(const QString& dataDir, const QString& tableListName) {
    return dataDir + FileNames::baseName(tableListName) + QStringLiteral(".grd");
}
QString tableFile(const QString& dataDir, const QString& tableName) {
    return dataDir + tableName + QStringLiteral(".DB");
}
QString profileFile(const QString& dataDir, const QString& tableName) {
    return dataDir + tableName + QStringLiteral(".pro");
}
QString presetsFile(const QString& dataDir, const QString& tableName) {
    return dataDir + tableName + QStringLiteral(".fil");
}
QString choicesFile(const QString& dataDir, const QString& tableName) {
    return dataDir + tableName + QStringLiteral(".cb");
}
QString logFile(const QString& dataDir, const QString& tableName) {
    return dataDir + tableName + QStringLiteral(".log");
}
QString profileForTableFile(const QString& tableFilePath) {
    return folderOf(tableFilePath) + FileNames::baseName(fileOf(tableFilePath)) +
           QStringLiteral(".pro");
}
QString layoutForTableFile(const QString& tableFilePath) {
    return folderOf(tableFilePath) + FileNames::baseName(fileOf(tableFilePath)) +
           QStringLiteral(".grd");
}
QString tableListForTableFile(const QString& tableFilePath) {
    return FileNames::baseName(fileOf(tableFilePath)) + QStringLiteral(".ini");
}
QString tableFileForTableList(const QString& dataDir, const QString& tableListName) {
    return dataDir + FileNames::baseName(tableListName) + QStringLiteral(".db");
}
QString profileForTableList(const QString& dataDir, const QString& tableListName) {
    return dataDir + FileNames::baseName(tableListName) + QStringLiteral(".pro");
}

} // namespace DescriptorPaths
