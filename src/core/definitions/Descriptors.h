#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Readers of the descriptor files of a database. Every file is a list of lines, line 0 a
// header; a value is word n of a line by "|", trimmed.

// One field line of a profile <table>.pro.
struct ProfileField {
    QString name;
    QString typeName;
    QString requiredFlag;
    QString size;
    QString indexName;
    QString indexFields;
    QString primaryFlag;
    QString sortableFlag;
    QString displayName;

    static ProfileField fromLine(const QString& line);

    bool isRequired() const;
    bool isSortable() const;
    bool isPrimary() const { return !primaryFlag.isEmpty(); }
    bool isBoolean() const { return typeName == u"ftBoolean"; }
    // The display name, or the field name when that is blank.
    QString caption() const { return displayName.isEmpty() ? name : displayName; }
};

namespace Profile {
// Line 0 holding "ANZEIGENAME" makes column 9 the grid's column titles.
bool hasDisplayNames(const QStringList& lines);
QList<ProfileField> fields(const QStringList& lines);
// The line number (from 1) whose field name equals the name exactly, or -1.
int lineOfField(const QStringList& lines, const QString& fieldName);
} // namespace Profile

namespace Catalogue {
int databaseCount(const QStringList& lines);
// Opening, deleting and transferring are offered only with more than one database.
bool offersDatabaseCommands(const QStringList& lines);
// The last line, counted from 0, that contains the table-list name ignoring case; line 1
// when none does.
int entryLineFor(const QStringList& lines, const QString& tableListName);
QString displayName(const QString& line);
QString tableListName(const QString& line);
// An entry line as a new database gets it.
QString entryLine(const QString& displayName, const QString& foldedName);
} // namespace Catalogue

namespace TableList {
QString header();
QStringList linesFor(const QString& tableName);
// The table name of line n (n >= 1), refused when it is not a plain file name.
QString tableName(const QStringList& lines, int n, const QString& sourceFile);
int tableCount(const QStringList& lines);
} // namespace TableList

namespace FilterPresets {
QStringList labels(const QStringList& lines);
// The expression of line n (n >= 1); blank means every record passes.
QString expression(const QStringList& lines, int n);
} // namespace FilterPresets

namespace ChoiceLists {
// The choices offered for a field (the last line naming it counts); for "value=text"
// lists only the values. Empty when the field has no choice line.
QStringList choicesFor(const QStringList& lines, const QString& fieldName);
bool hasChoices(const QStringList& lines, const QString& fieldName);
} // namespace ChoiceLists

// Names of related files, derived by cutting the file name (never the folders) at its
// first "." and appending another extension.
namespace DescriptorPaths {
QString layoutFile(const QString& dataDir, const QString& tableListName);
QString tableFile(const QString& dataDir, const QString& tableName);
QString profileFile(const QString& dataDir, const QString& tableName);
QString presetsFile(const QString& dataDir, const QString& tableName);
QString choicesFile(const QString& dataDir, const QString& tableName);
QString logFile(const QString& dataDir, const QString& tableName);
QString profileForTableFile(const QString& tableFilePath);
QString layoutForTableFile(const QString& tableFilePath);
QString tableListForTableFile(const QString& tableFilePath);
// Table-list name to the table file and the profile: data folder + base name + ".db"/".pro".
QString tableFileForTableList(const QString& dataDir, const QString& tableListName);
QString profileForTableList(const QString& dataDir, const QString& tableListName);
} // namespace DescriptorPaths
