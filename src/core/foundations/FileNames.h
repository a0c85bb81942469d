#pragma once

#include <QString>

// The data assumes a case-blind file system (Database.ini, database.pro and database.DB
// belong together). Every reader and every delete resolves names through here.
namespace FileNames {

// The path of the existing entry whose file name equals the given one ignoring ASCII case
// (an exact match wins), or the path unchanged when there is none.
QString resolve(const QString& path);
bool exists(const QString& path);
// Removes the entry found by resolve; true when nothing is left under that name.
bool remove(const QString& path);

// The file name of a path cut at its first "." ("Database.ini" -> "Database"); the folders
// of the path are never cut, so "~/.local/x.ini" keeps its folder.
QString baseName(const QString& fileName);

// True for a name that stays inside its folder: not empty, no "/" or "\", not "." or "..".
bool isPlainFileName(const QString& name);
// Throws a QuillonError naming the file it came from unless the name is plain.
void requirePlainFileName(const QString& name, const QString& sourceFile);

} // namespace FileNames
