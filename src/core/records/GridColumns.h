#pragma once

#include "definitions/GridLayout.h"

#include <QList>
#include <QStringList>

class Table;

// The record grid's columns: the defaults of a table, the columns a layout file may
// bring, and the titles from the profile.
namespace GridColumns {

constexpr int kDefaultWidth = 100;

// Every field of the table in table order, titled with its field name.
QList<GridColumn> defaultColumns(const Table& table);

// The columns of a layout file fitted to the table: columns of fields the table does not
// have are dropped, fields the layout does not list are appended with their defaults.
// Empty when no column of the layout fits, so the caller keeps the defaults.
QList<GridColumn> fitToTable(const QList<GridColumn>& loaded, const Table& table);

// With "ANZEIGENAME" in line 0 of the profile, a column whose title equals a field name
// (ignoring case) is titled with that field's display name, when it has one.
void ApplyDisplayNames(QList<GridColumn>& columns, const QStringList& profileLines);

} // namespace GridColumns
