#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The file boundary of every descriptor and settings file: Windows-1252 bytes with CR LF on
// disk, QString in memory. Reads go through the case-blind name lookup.
namespace TextFile {

QString decodeWindows1252(QByteArrayView bytes);
// Characters without a Windows-1252 byte become "?".
QByteArray encodeWindows1252(QStringView text);
bool isWindows1252Encodable(QStringView text);

// Splits at CR, LF or CR LF; a line end at the very end adds no empty line; a NUL ends the text.
QStringList splitLines(QStringView text);

// Reads a file whole as Windows-1252 lines; a missing or unreadable file is a QuillonError.
QStringList readLines(const QString& path);
// Writes every line followed by CR LF, replacing the file atomically.
void writeLines(const QString& path, const QStringList& lines);
// Writes bytes atomically (the old file stays when anything fails).
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace TextFile
