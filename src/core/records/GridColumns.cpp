#include "GridColumns.h"

#include "definitions/Descriptors.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"

#include <QSet>

namespace GridColumns {

namespace {

int widthFor(const FieldDef& field) {
    switch (field.kind) {
    case FieldKind::Logical:
        return 60;
    case FieldKind::AutoInc:
    case FieldKind::Integer:
        return 60;
    case FieldKind::Text:
        return std::clamp(field.size * 7, 60, 220);
    default:
        return kDefaultWidth;
    }
}

} // namespace

QList<GridColumn> defaultColumns(const Table& table) {
    QList<GridColumn> columns;
    for (const FieldDef& field : table.fields())
        columns.append({field.name, widthFor(field), field.name, true});
    return columns;
}

QList<GridColumn> fitToTable(const QList<GridColumn>& loaded, const Table& table) {
    QList<GridColumn> columns;
    QSet<int> shown;
    for (GridColumn column : loaded) {
        const int field = table.findField(column.fieldName);
        if (field < 0 || shown.contains(field))
            continue;
        column.fieldName = table.fields()[field].name;
        columns.append(column);
        shown.insert(field);
    }
    if (columns.isEmpty())
        return {};
    for (int i = 0; i < table.fieldCount(); ++i)
        if (!shown.contains(i)) {
            const FieldDef& field = table.fields()[i];
            columns.append({field.name, widthFor(field), field.name, true});
        }
    return columns;
}

void ApplyDisplayNames(QList<GridColumn>& columns, const QStringList& profileLines) {
    if (!Profile::hasDisplayNames(profileLines))
        return;
    for (int i = 1; i < profileLines.size(); ++i) {
        const QString name = Column(profileLines[i], 1);
        const QString display = Column(profileLines[i], 9);
        if (display.isEmpty())
            continue;
        for (GridColumn& column : columns)
            if (SameTextIgnoringCase(column.title, name))
                column.title = display;
    }
}

} // namespace GridColumns
