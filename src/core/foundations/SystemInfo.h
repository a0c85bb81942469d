#pragma once

#include <QMap>
#include <QString>

// Facts about the user's system, read once at start and read-only afterwards. The shell
// folders come from the XDG user directories under the names the rest of the program uses
// ("Desktop", "Personal", "Templates", ...); a folder that is not known stays empty.
class SystemInfo {
public:
    static SystemInfo read();

    QString operatingSystem() const { return m_operatingSystem; }
    QString shellFolder(const QString& name) const { return m_shellFolders.value(name); }
    QString logonUserName() const { return m_logonUserName; }
    // The vCard file that stands for the user's address book.
    QString addressBookFile() const { return m_addressBookFile; }
    QString tempDir() const { return m_tempDir; }

private:
    QString m_operatingSystem;
    QMap<QString, QString> m_shellFolders;
    QString m_logonUserName;
    QString m_addressBookFile;
    QString m_tempDir;
};
