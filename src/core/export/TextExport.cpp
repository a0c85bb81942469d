#include "TextExport.h"

#include "definitions/Descriptors.h"
#include "foundations/FieldValues.h"
#include "foundations/FilterParser.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"
#include "records/TableWork.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <memory>
#include <sqlite3.h>

namespace TextExport {

namespace {

constexpr qsizetype kFlushSize = 1 << 20;
constexpr qint64 kProgressInterval = 100; // ms

// Collects the Windows-1252 bytes of the file and hands them to the save file in large pieces.
class Writer {
public:
    explicit Writer(const QString& path)
        : m_path(path), m_file(path), m_buffer(new char[kFlushSize]) {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
    }

    void ascii(const char* data, qsizetype size) {
        if (m_used + size > kFlushSize) {
            flush();
            if (size > kFlushSize) {
                write(data, size);
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, data, static_cast<size_t>(size));
        m_used += size;
    }
    void text(QStringView text) {
        const QByteArray bytes = TextFile::encodeWindows1252(text);
        ascii(bytes.constData(), bytes.size());
    }
    void blanks(qsizetype count) {
        while (count > 0) {
            if (m_used == kFlushSize)
                flush();
            const qsizetype piece = std::min(count, kFlushSize - m_used);
            std::memset(m_buffer.get() + m_used, ' ', static_cast<size_t>(piece));
            m_used += piece;
            count -= piece;
        }
    }
    void endLine() { ascii("\r\n", 2); }
    void commit() {
        flush();
        if (!m_file.commit())
            fail();
    }

private:
    void flush() {
        write(m_buffer.get(), m_used);
        m_used = 0;
    }
    void write(const char* data, qsizetype size) {
        if (size > 0 && m_file.write(data, size) != size)
            fail();
    }
    [[noreturn]] void fail() {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        throw QuillonError(
            QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2").arg(m_path, reason));
    }

    QString m_path;
    QSaveFile m_file;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

bool isAscii(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}

// The text form of a column (as Table::text gives it), written padded to the width.
void writeValue(Writer& out, const FieldDef& field, sqlite3_stmt* row, int column, int width) {
    qsizetype length = 0;
    if (sqlite3_column_type(row, column) != SQLITE_NULL) {
        QString text;
        bool asText = false;
        switch (field.kind) {
        case FieldKind::Logical:
            text = sqlite3_column_int64(row, column) != 0 ? QStringLiteral("Wahr")
                                                          : QStringLiteral("Falsch");
            asText = true;
            break;
        case FieldKind::Integer:
        case FieldKind::AutoInc: {
            const QByteArray digits = QByteArray::number(sqlite3_column_int64(row, column));
            out.ascii(digits.constData(), digits.size());
            length = digits.size();
            break;
        }
        case FieldKind::Float:
        case FieldKind::Currency:
            text = FieldValues::toText(field, sqlite3_column_double(row, column));
            asText = true;
            break;
        case FieldKind::Date: {
            const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
            text = FieldValues::toText(
                field, QDate::fromString(QString::fromUtf8(raw, sqlite3_column_bytes(row, column)),
                                         Qt::ISODate));
            asText = true;
            break;
        }
        default: {
            const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
            const qsizetype size = sqlite3_column_bytes(row, column);
            if (isAscii(raw, size)) {
                out.ascii(raw, size);
                length = size;
            } else {
                text = QString::fromUtf8(raw, size);
                asText = true;
            }
        }
        }
        if (asText) {
            out.text(text);
            length = text.size();
        }
    }
    out.blanks(width - length);
}

} // namespace

std::vector<int> exportWidths(const Table& table, const QList<int>& fields) {
    const QString profile = DescriptorPaths::profileForTableFile(table.tableName());
    const QStringList lines = TextFile::readLines(profile);
    std::vector<int> widths;
    for (int field : fields) {
        const QString line = field + 1 < lines.size() ? lines[field + 1] : QString();
        qint64 size = 0;
        if (!FieldValues::parseInteger(Column(line, 4), &size) || size > 1000000 || size < -1000000)
            throw QuillonError(QStringLiteral("Die Größe „%1“ des Feldes „%2“ in Zeile %3 des "
                                              "Profils „%4“ ist keine Zahl.")
                                   .arg(Column(line, 4), table.fields()[field].name)
                                   .arg(field + 1)
                                   .arg(profile));
        const int width = static_cast<int>(size) + 10;
        widths.push_back(width == 0 ? 8 : width);
    }
    return widths;
}

Result ExportText(Table& table, const Options& options, const ChooseFile& chooseFile,
                  const Progress& progress) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    QList<int> fields;
    for (int i = 0; i < table.fieldCount(); ++i)
        for (const QString& name : options.fields)
            if (SameTextIgnoringCase(table.fields()[i].name, name) && !fields.contains(i))
                fields.append(i);
    for (const QString& name : options.fields)
        table.fieldIndex(name);
    const std::vector<int> widths = exportWidths(table, fields);
    const Table::Bookmark before = table.bookmark();

    Result result;
    const auto restore = [&] {
        table.setFiltered(false);
        if (before >= 0)
            table.gotoBookmark(before);
    };
    try {
        bool markedFilter = false;
        if (options.onlyMarked)
            for (const FieldDef& field : table.fields())
                markedFilter = markedFilter || AsciiUpper(field.name).contains(u"SELECTED");
        result.path = chooseFile ? chooseFile() : QString();
        if (result.path.isEmpty()) {
            // The marked-records filter text replaces the one before, also when cancelled.
            restore();
            if (markedFilter)
                table.setFilter(QStringLiteral("Selected='True'"));
            return result;
        }
        TableWork::ControlsPause pause(table);
        if (markedFilter) {
            table.setFilter(QStringLiteral("Selected='True'"));
            table.setFiltered(true);
        }
        const int total = table.recordCount();
        const QByteArray delimiter = TextFile::encodeWindows1252(options.delimiter);
        const bool asciiDelimiter = isAscii(delimiter.constData(), delimiter.size());
        const auto writeDelimiter = [&](Writer& out) {
            if (asciiDelimiter)
                out.ascii(delimiter.constData(), delimiter.size());
            else
                out.text(options.delimiter);
        };

        Writer out(result.path);
        if (options.header) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                const QString& name = table.fields()[fields[i]].name;
                out.text(name);
                out.blanks(widths[static_cast<size_t>(i)] - name.size());
                writeDelimiter(out);
            }
            out.endLine();
        }

        QStringList columns;
        for (int field : fields)
            columns.append(quoteIdentifier(table.fields()[field].name));
        if (columns.isEmpty())
            columns.append(QStringLiteral("rowid"));
        const CompiledFilter condition = table.activeCondition();
        QString sql = QStringLiteral("SELECT %1 FROM %2")
                          .arg(columns.join(QStringLiteral(", ")), Table::recordsTable());
        if (!condition.sql.isEmpty())
            sql += QStringLiteral(" WHERE ") + condition.sql;
        sql += QStringLiteral(" ORDER BY ") + table.orderClause();

        QElapsedTimer sinceReport;
        sinceReport.start();
        table.forEachRow(sql, condition.binds, [&](sqlite3_stmt* row) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                writeValue(out, table.fields()[fields[i]], row, static_cast<int>(i),
                           options.trim ? 0 : widths[static_cast<size_t>(i)]);
                writeDelimiter(out);
            }
            out.endLine();
            ++result.records;
            if (progress && sinceReport.elapsed() >= kProgressInterval) {
                progress(QStringLiteral("Export: %1 von %2").arg(result.records).arg(total));
                sinceReport.start();
            }
            return true;
        });
        out.commit();
    } catch (...) {
        try {
            restore();
        } catch (...) {
        }
        throw;
    }
    restore();
    return result;
}

} // namespace TextExport
