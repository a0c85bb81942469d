#pragma once

#include "foundations/Table.h"

#include <QString>

// The step-by-step search of the search window over the open table, in its current order
// and filter: each step moves the table to the next record in which any field's text
// contains the term (TextMatch). Between steps it keeps the term and whether the term has
// found a record yet; the position is the table's cursor.
class RecordSearch {
public:
    struct Result {
        bool hit = false; // a record is shown: the editor may be opened on it
        QString line1;    // "ID = 7", or "Kein Ergebnis gefunden!" / "Kein weiteres ..."
        QString line2;    // "Name = Meier", or empty
        QString line3;    // the matching field's text as stored, or empty
        int field = -1;   // the matching field, -1 without a hit
        Table::Bookmark bookmark = -1;
    };

    static QString noResultText() { return QStringLiteral("Kein Ergebnis gefunden!"); }
    static QString noFurtherResultText() {
        return QStringLiteral("Kein weiteres Ergebnis gefunden!");
    }

    // The window is shown again: the next step examines the current record first.
    void restart() { m_foundBefore = false; }
    // The term changed: the next step starts at the first record, to which an open table
    // moves at once.
    void setTerm(const QString& term, Table* table);
    const QString& term() const { return m_term; }
    bool foundBefore() const { return m_foundBefore; }

    // One step. After a hit the next step starts behind it. At the end of the table the
    // table stays on its last record, and every further step reports no further result
    // until the term changes. A table that is not open is a QuillonError.
    Result step(Table& table);

private:
    QString m_term;
    bool m_foundBefore = false;
};
