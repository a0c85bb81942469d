#include "DatabaseSession.h"

#include "Descriptors.h"
#include "TableCreation.h"
#include "foundations/FileNames.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"

DatabaseSession::DatabaseSession(const Folders& folders, UserDialogs& dialogs)
    : m_folders(folders), m_dialogs(dialogs) {}

DatabaseSession::~DatabaseSession() {
    freeTables();
}

bool DatabaseSession::hasOpenTable() const {
    return m_active && m_active->isOpen();
}

void DatabaseSession::open(const QString& tableListName) {
    if (tableListName.isEmpty())
        return;
    FileNames::requirePlainFileName(tableListName, QStringLiteral("Buttons.ini"));
    freeTables();
    loadTableList(tableListName);
    prepareTables();
    openTable(1);
    m_currentTableList = tableListName;
}

void DatabaseSession::freeTables() {
    m_active = nullptr;
    for (Table* table : m_tables) {
        table->close();
        delete table;
    }
    m_tables.clear();
}

void DatabaseSession::loadTableList(const QString& tableListName) {
    m_tableListFile = m_folders.dataDir + tableListName;
    m_tableLines = TextFile::readLines(m_tableListFile);
}

void DatabaseSession::prepareTables() {
    for (int n = 1; n <= TableList::tableCount(m_tableLines); ++n) {
        const QString name = TableList::tableName(m_tableLines, n, m_tableListFile);
        if (!FileNames::exists(DescriptorPaths::tableFile(m_folders.dataDir, name)))
            CreateTableFromProfile(m_folders.dataDir, name, m_dialogs);
        auto* table = new Table;
        table->setObjectName(QStringLiteral("Table%1").arg(n));
        m_tables.append(table);
    }
}

bool DatabaseSession::openTable(int n) {
    if (n < 1 || n > TableList::tableCount(m_tableLines) || n > m_tables.size())
        return false;
    m_active = m_tables[n - 1];
    const QString name = TableList::tableName(m_tableLines, n, m_tableListFile);
    const QString& dataDir = m_folders.dataDir;
    m_currentTableFile = DescriptorPaths::tableFile(dataDir, name);
    m_filterLines.clear();
    m_profileLines.clear();
    m_choiceLines.clear();
    m_filterLines = TextFile::readLines(DescriptorPaths::presetsFile(dataDir, name));
    m_choiceLines = TextFile::readLines(DescriptorPaths::choicesFile(dataDir, name));
    m_profileLines = TextFile::readLines(DescriptorPaths::profileFile(dataDir, name));
    m_active->setTableName(m_currentTableFile);
    m_active->setIndexName(QString());
    m_active->setFiltered(false);
    m_active->open();
    m_active->last();
    return m_active->isOpen();
}
