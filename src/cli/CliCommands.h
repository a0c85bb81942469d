#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

class DatabaseSession;

// What a command gets: the open database, its arguments and the two output streams.
struct CliContext {
    DatabaseSession& session;
    QStringList args;
    QTextStream& out;
    QTextStream& err;
};

// Wrong usage of a command; the tool prints the usage text and exits with 2.
struct CliUsageError {
    QString message;
};

struct CliCommand {
    QString name;
    QString synopsis;
    std::function<int(CliContext&)> run;
};

const QList<CliCommand>& cliCommands();

class Table;

// Shared by the commands.
// Takes "--name VALUE" out of the arguments; empty when absent.
QString takeOption(QStringList& args, const QString& name, bool* present = nullptr);
void requireNoMoreArguments(const QStringList& args);
// The database's open table; "Zuerst Datenbank öffnen!" when there is none.
Table& openTable(CliContext& context);
// "1 Datensatz", "N Datensätze".
QString records(int count);
