#pragma once

#include "foundations/ProductConfig.h"

#include <QList>
#include <QString>
#include <QStringList>

class Table;
class UserDialogs;

// The open database: the table objects of its table list and the descriptor lines of the
// table shown. The main window and the command-line tool open databases through it.
class DatabaseSession {
public:
    DatabaseSession(const Folders& folders, UserDialogs& dialogs);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;

    // Frees the open tables, reads the table list, prepares every table (creating missing
    // files from their profiles) and opens table 1. An empty name changes nothing.
    void open(const QString& tableListName);

    // Closes and destroys the table objects; afterwards there is no active table.
    void freeTables();
    // Replaces the table lines by those of the table list in the data folder.
    void loadTableList(const QString& tableListName);
    // Creates the table objects for the table lines, creating missing table files first.
    void prepareTables();
    // Opens table line n (from 1); false when there is no such line.
    bool openTable(int n);

    // The open table, or none; a table whose opening failed midway is not open.
    Table* activeTable() const { return m_active; }
    bool hasOpenTable() const;
    Table* table(int n) const { return n >= 1 && n <= m_tables.size() ? m_tables[n - 1] : nullptr; }

    const Folders& folders() const { return m_folders; }
    const QStringList& tableLines() const { return m_tableLines; }
    const QStringList& profileLines() const { return m_profileLines; }
    const QStringList& choiceLines() const { return m_choiceLines; }
    const QStringList& filterLines() const { return m_filterLines; }
    const QString& currentTableList() const { return m_currentTableList; }
    const QString& currentTableFile() const { return m_currentTableFile; }
    void setCurrentTableList(const QString& name) { m_currentTableList = name; }

private:
    Folders m_folders;
    UserDialogs& m_dialogs;
    QList<Table*> m_tables;
    Table* m_active = nullptr;
    QString m_tableListFile;
    QStringList m_tableLines;
    QStringList m_profileLines;
    QStringList m_choiceLines;
    QStringList m_filterLines;
    QString m_currentTableList;
    QString m_currentTableFile;
};
