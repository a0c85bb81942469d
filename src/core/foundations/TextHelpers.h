#pragma once

#include <QString>

class UserDialogs;

// Word extraction as every descriptor file reader uses it: runs of delimiters count as
// one, leading delimiters are skipped, words are numbered from 1. Positions count from 1.
bool FindWord(int n, const QString& text, const QString& delimiters, int* position = nullptr);
QString ExtractWord(int n, const QString& text, const QString& delimiters);
int CountWords(const QString& text, const QString& delimiters);

// Appends fill until the text has the length; never cuts.
QString PadRight(const QString& text, QChar fill, int length);

// The folder part of a path, without its trailing separator (except for the root).
QString FolderOfPath(const QString& path);
// A folder path ending in "/"; the empty text stays empty.
QString WithTrailingSeparator(const QString& folder);

// Turns a typed database name into the base name of its files.
QString FoldDatabaseName(const QString& name);

// Removes leading and trailing characters of code 32 or less.
QString Trim(const QString& text);
// Case conversion of a to z only; umlauts and everything else stay.
QString AsciiUpper(const QString& text);
QString AsciiLower(const QString& text);
bool SameTextIgnoringCase(const QString& a, const QString& b);
// Exact-case substring test; the empty text is contained in nothing.
bool ContainsText(const QString& text, const QString& part);

// Word n of a descriptor line by "|", trimmed.
QString Column(const QString& line, int n);

// Checks that an ini file has the section and the key and tells the user otherwise.
void CheckIniEntry(const QString& file, const QString& section, const QString& key,
                   UserDialogs& dialogs);
