#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class Table;

// "Contains the text" as marking by text and the search compare it: a field matches when
// its text form (the table's text: "Wahr"/"Falsch", decimal comma, dd.MM.yyyy), upper-cased
// from a to z only, contains the term upper-cased the same way. Umlauts therefore match only
// in the same case, and the empty term is contained in nothing.
namespace TextMatch {

// An SQL expression over the records table that gives the position (from 1) of the first
// field, in field order, whose text contains the term, or 0 when none does. Its values are
// appended to binds in the order they occur. Registers the function it relies on with the
// table's connection, so the table must be open.
QString firstMatchingField(Table& table, const QString& term, QList<QVariant>& binds);

} // namespace TextMatch
