#include "TextImport.h"

#include "TextLineReader.h"
#include "definitions/Descriptors.h"
#include "foundations/BulkInsert.h"
#include "foundations/FieldValues.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"
#include "records/TableWork.h"

#include <QElapsedTimer>
#include <climits>
#include <memory>
#include <optional>

namespace TextImport {

namespace {

constexpr qint64 kProgressInterval = 100; // ms

QString records(int count) {
    return count == 1 ? QStringLiteral("1 Datensatz") : QStringLiteral("%1 Datensätze").arg(count);
}

QStringView trimmed(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32)
        ++start;
    while (end > start && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

bool isDelimiter(QChar c, QStringView delimiters) {
    for (QChar d : delimiters)
        if (d == c)
            return true;
    return false;
}

// The delimiters as a bit set for the ASCII ones, which nearly all are; splitting runs for
// every character of a file.
class DelimiterSet {
public:
    explicit DelimiterSet(QStringView delimiters) : m_delimiters(delimiters) {
        for (QChar d : delimiters) {
            const char16_t u = d.unicode();
            if (u < 128)
                m_ascii[u / 64] |= quint64(1) << (u % 64);
            else
                m_wide = true;
        }
    }
    bool contains(QChar c) const {
        const char16_t u = c.unicode();
        if (u < 128)
            return (m_ascii[u / 64] >> (u % 64)) & 1;
        return m_wide && isDelimiter(c, m_delimiters);
    }

private:
    QStringView m_delimiters;
    quint64 m_ascii[2] = {0, 0};
    bool m_wide = false;
};

bool hasDoubleSemicolon(QStringView text) {
    for (qsizetype i = 1; i < text.size(); ++i)
        if (text[i] == u';' && text[i - 1] == u';')
            return true;
    return false;
}

// prepareLine without a copy for the usual line that needs no blank put in.
QStringView preparedLine(const QString& line, QString& buffer) {
    const QStringView trimmedLine = trimmed(line);
    if (!hasDoubleSemicolon(trimmedLine))
        return trimmedLine;
    buffer = prepareLine(line);
    return buffer;
}

// Control characters that text files do not hold mean the file is not text (a program or a
// picture, say); taking them would only fill the table with rubbish. Tabs, vertical tabs
// (line breaks inside a field for some programs) and form feeds are text, and so is every
// byte a Windows-1252 file may hold.
void requireText(QStringView value) {
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t' && u != u'\v' && u != u'\f')
            throw QuillonError(
                QStringLiteral("Der Wert enthält das Steuerzeichen %1 (hexadezimal); "
                               "ist die Datei eine Textdatei?")
                    .arg(QString::number(u, 16).toUpper().rightJustified(2, u'0')));
    }
}

// Keeps what was posted before the failing line, as the record-by-record import keeps it,
// and puts the cursor on the last record added.
void keepWhatIsDone(Table& table, Table::Bookmark lastKey) {
    try {
        table.commit();
    } catch (const QuillonError&) {
        table.rollback();
    }
    table.refresh();
    if (lastKey >= 0)
        table.gotoBookmark(lastKey);
}

} // namespace

QList<MappingEntry> mappingFromProfile(const QStringList& profileLines) {
    QList<MappingEntry> entries;
    for (qsizetype i = 5; i < profileLines.size(); ++i) {
        const ProfileField field = ProfileField::fromLine(profileLines[i]);
        if (field.name.isEmpty())
            continue;
        entries.append({field.name, QStringLiteral("0"), field.caption()});
    }
    return entries;
}

bool isTableFile(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString extension = AsciiUpper(name.mid(dot));
    return extension == u".DB" || extension == u".DBF";
}

QString prepareLine(const QString& line) {
    const QStringView trimmedLine = trimmed(line);
    if (!hasDoubleSemicolon(trimmedLine))
        return trimmedLine.toString();
    QString result;
    result.reserve(trimmedLine.size() + 8);
    for (qsizetype i = 0; i < trimmedLine.size(); ++i) {
        result.append(trimmedLine[i]);
        if (trimmedLine[i] == u';' && i + 1 < trimmedLine.size() && trimmedLine[i + 1] == u';')
            result.append(u' ');
    }
    return result;
}

void splitWords(QStringView line, QStringView delimiters, std::vector<QStringView>& words) {
    words.clear();
    const DelimiterSet set(delimiters);
    const qsizetype length = line.size();
    qsizetype i = 0;
    while (i < length) {
        while (i < length && set.contains(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < length && !set.contains(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.mid(start, i - start));
    }
}

QStringView fieldValue(const std::vector<QStringView>& words, qint64 n) {
    if (n <= 0 || n > static_cast<qint64>(words.size()))
        return {};
    QStringView word = words[static_cast<size_t>(n - 1)];
    if (word.startsWith(u'"'))
        word = word.mid(1);
    if (word.endsWith(u'"'))
        word.chop(1);
    return trimmed(word);
}

Result ImportCVS(Table& table, const QString& path, const QList<MappingEntry>& mapping,
                 const QString& delimiters, const Progress& progress) {
    TableWork::requireOpen(table);
    TextLineReader reader(path);
    TableWork::postPending(table);

    Result result;
    result.lines = reader.lineCount();
    std::unique_ptr<BulkInsert> inserter;
    const auto errorAt = [&](qint64 index, const QString& field, const QString& message) {
        const QString where =
            field.isEmpty()
                ? QStringLiteral("in Zeile %1").arg(index + 1)
                : QStringLiteral("in Zeile %1 beim Feld „%2“").arg(index + 1).arg(field);
        return QuillonError(QStringLiteral("Der Import wurde %1 abgebrochen:\n%2\n\nBereits "
                                           "importiert: %3.")
                                .arg(where, message, records(result.added)));
    };
    // A record the store refused, at the line it came from.
    const auto refusedError = [&](const BulkInsert::RowError& refused) {
        result.added = static_cast<int>(inserter->inserted());
        return errorAt(refused.tag(), QString(), refused.message());
    };
    // The records handed over before a failing line are written first; when the store
    // refuses one of those, that earlier line is the one reported.
    const auto lineError = [&](qint64 index, const QString& field, const QString& message) {
        if (inserter) {
            try {
                inserter->finish();
            } catch (const BulkInsert::RowError& refused) {
                throw refusedError(refused);
            }
            result.added = static_cast<int>(inserter->inserted());
        }
        return errorAt(index, field, message);
    };

    int selectedSlot = -1;
    int lastMailSlot = -1;
    std::vector<int> entrySlots;
    std::vector<qint64> entryColumns;
    // The columns and fields are looked at when the first record needs them.
    const auto prepare = [&](qint64 index) {
        QList<int> fields;
        const auto slotOf = [&](int field) {
            const qsizetype at = fields.indexOf(field);
            if (at >= 0)
                return static_cast<int>(at);
            fields.append(field);
            return static_cast<int>(fields.size() - 1);
        };
        const QString standard[2] = {QStringLiteral("Selected"), QStringLiteral("LetztesMail")};
        for (const QString& name : standard)
            if (table.findField(name) < 0)
                throw lineError(index, name, QStringLiteral("Die Tabelle hat kein solches Feld."));
        selectedSlot = slotOf(table.findField(standard[0]));
        lastMailSlot = slotOf(table.findField(standard[1]));
        for (const MappingEntry& entry : mapping) {
            qint64 column = 0;
            if (!FieldValues::parseInteger(entry.column, &column) || column > INT_MAX ||
                column < INT_MIN)
                throw lineError(
                    index, entry.fieldName,
                    QStringLiteral("„%1“ ist keine gültige Spaltennummer.").arg(entry.column));
            const int field = table.findField(entry.fieldName);
            if (field < 0)
                throw lineError(index, entry.fieldName,
                                QStringLiteral("Die Tabelle hat kein solches Feld."));
            entryColumns.push_back(column);
            entrySlots.push_back(slotOf(field));
        }
        try {
            inserter = std::make_unique<BulkInsert>(table, fields, result.lines - index);
        } catch (const QuillonError& error) {
            throw lineError(index, QString(), error.message());
        }
    };

    QElapsedTimer sinceReport;
    qint64 lastRecordLine = -1;
    qint64 lastReported = -1;
    const auto report = [&](qint64 index) {
        if (progress)
            progress(QStringLiteral("Import: %1 von %2").arg(index).arg(result.lines));
        lastReported = index;
        sinceReport.start();
    };

    QString raw;
    QString buffer;
    std::vector<QStringView> words;
    table.beginTransaction();
    try {
        for (;;) {
            try {
                if (!reader.next(&raw))
                    break;
            } catch (const QuillonError& error) {
                throw lineError(reader.lineIndex() + 1, QString(), error.message());
            }
            const qint64 index = reader.lineIndex();
            const QStringView line = preparedLine(raw, buffer);
            if (line.isEmpty())
                continue;
            if (!inserter)
                prepare(index);
            inserter->setLogical(selectedSlot, true);
            inserter->setText(lastMailSlot, {});
            splitWords(line, delimiters, words);
            for (size_t i = 0; i < entrySlots.size(); ++i) {
                try {
                    const QStringView value = fieldValue(words, entryColumns[i]);
                    requireText(value);
                    inserter->setText(entrySlots[i], value);
                } catch (const QuillonError& error) {
                    throw lineError(index, mapping[static_cast<qsizetype>(i)].fieldName,
                                    error.message());
                }
            }
            try {
                inserter->insert(index);
            } catch (const BulkInsert::RowError& refused) {
                throw refusedError(refused);
            } catch (const QuillonError& error) {
                throw lineError(index, QString(), error.message());
            }
            lastRecordLine = index;
            if (lastReported < 0 || sinceReport.elapsed() >= kProgressInterval)
                report(index);
        }
    } catch (...) {
        // What was handed over before the failure is kept, up to a record the store refuses;
        // such an earlier line is the one to name.
        std::optional<QuillonError> earlier;
        Table::Bookmark key = -1;
        if (inserter) {
            try {
                inserter->finish();
            } catch (const BulkInsert::RowError& refused) {
                earlier = refusedError(refused);
            } catch (const QuillonError&) {
            }
            key = inserter->lastKey();
            inserter.reset();
        }
        keepWhatIsDone(table, key);
        if (earlier)
            throw *earlier;
        throw;
    }
    if (lastRecordLine >= 0 && lastReported != lastRecordLine)
        report(lastRecordLine);
    Table::Bookmark lastKey = -1;
    if (inserter) {
        try {
            inserter->finish();
        } catch (const BulkInsert::RowError& refused) {
            const QuillonError error = refusedError(refused);
            keepWhatIsDone(table, inserter->lastKey());
            throw error;
        }
        result.added = static_cast<int>(inserter->inserted());
        lastKey = inserter->lastKey();
        inserter.reset();
    }
    try {
        table.commit();
    } catch (...) {
        table.rollback();
        table.refresh();
        throw;
    }
    table.refresh();
    if (lastKey >= 0)
        table.gotoBookmark(lastKey);
    return result;
}

} // namespace TextImport
