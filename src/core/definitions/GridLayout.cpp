#include "GridLayout.h"

#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"

#include <QFileInfo>

namespace {

// Together these two lines are 98 bytes with their line ends, so a file without columns
// stays below the size from which a layout is loaded.
const QString kHeader = QStringLiteral("[Quillon Rasterlayout]");
const QString kExplanation =
    QStringLiteral("; Eine Zeile je Spalte in Anzeigereihenfolge: Feld;Breite;Sichtbar;Titel");
const QString kColumn = QStringLiteral("Column=");

} // namespace

namespace GridLayout {

void write(const QString& path, const QList<GridColumn>& columns) {
    QStringList lines{kHeader, kExplanation};
    for (const GridColumn& column : columns)
        lines.append(kColumn + column.fieldName + u';' + QString::number(column.width) + u';' +
                     (column.visible ? u'1' : u'0') + u';' + column.title);
    TextFile::writeLines(path, lines);
}

bool read(const QString& path, QList<GridColumn>* columns) {
    const QString actual = FileNames::resolve(path);
    const QFileInfo info(actual);
    if (!info.exists() || info.size() <= 100)
        return false;
    QStringList lines;
    try {
        lines = TextFile::readLines(actual);
    } catch (const QuillonError&) {
        return false;
    }
    if (lines.isEmpty() || lines.first() != kHeader)
        return false;
    QList<GridColumn> result;
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(u';') || line.trimmed().isEmpty())
            continue;
        if (!line.startsWith(kColumn))
            return false;
        const QString rest = line.mid(kColumn.size());
        const QStringList parts = rest.split(u';');
        if (parts.size() < 4 || parts[0].isEmpty())
            return false;
        bool widthOk = false;
        const int width = parts[1].toInt(&widthOk);
        if (!widthOk || width < 0 || (parts[2] != u"0" && parts[2] != u"1"))
            return false;
        GridColumn column;
        column.fieldName = parts[0];
        column.width = width;
        column.visible = parts[2] == u"1";
        column.title = rest.section(u';', 3);
        result.append(column);
    }
    if (result.isEmpty())
        return false;
    *columns = result;
    return true;
}

} // namespace GridLayout
