#pragma once

#include <QList>
#include <QString>

// The column layout of the record grid of one database, kept in <db>.grd as our own text
// format: a fixed header, then one line "Column=field;width;visible;title" per column in
// display order. A file of 100 bytes or less holds no column and is never loaded.
struct GridColumn {
    QString fieldName;
    int width = 64;
    QString title;
    bool visible = true;

    bool operator==(const GridColumn&) const = default;
};

namespace GridLayout {

void write(const QString& path, const QList<GridColumn>& columns);
// False, leaving columns untouched, for a missing, short or unreadable file.
bool read(const QString& path, QList<GridColumn>* columns);

} // namespace GridLayout
