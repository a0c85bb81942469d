#pragma once

#include <QString>

// What the import and export choices say until their kind of file is supported.
namespace NotAvailable {

inline QString tableFileImport() {
    return QStringLiteral("Der Import von Paradox- und dBase-Tabellen (.db, .dbf) ist in dieser "
                          "Version noch nicht verfügbar.");
}

inline QString addressBookImport() {
    return QStringLiteral(
        "Der Import aus dem Adressbuch ist in dieser Version noch nicht verfügbar.");
}

inline QString workbookExport() {
    return QStringLiteral(
        "Der Export in eine Excel-Datei ist in dieser Version noch nicht verfügbar.");
}

} // namespace NotAvailable
