#pragma once

#include <QString>
#include <QStringList>

class Shell;

// Starts the word processor on one document and does not wait for it. Without a command
// configured the desktop's default application for the document is used; a command is
// set in Serienbrief.ini of the program folder:
//
//   [TEXTVERARBEITUNG]
//   Befehl=libreoffice --writer
namespace WordProcessor {

// The configured command split into program and arguments; empty when none is set.
QStringList configuredCommand(const QString& programDir);

// False when it could not be started.
bool start(Shell& shell, const QString& programDir, const QString& documentPath);

QString failureMessage();

} // namespace WordProcessor
