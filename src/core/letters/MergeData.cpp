#include "MergeData.h"

#include "Salutations.h"
#include "foundations/FieldValues.h"
#include "foundations/FileNames.h"
#include "foundations/ProductConfig.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"
#include "foundations/UserDialogs.h"

namespace {

constexpr int kFirstMergedField = 5;

// Ends the walk as a normal run does, also when reading fails midway.
class TableRestore {
public:
    explicit TableRestore(Table& table) : m_table(table) { m_table.disableControls(); }
    ~TableRestore() {
        try {
            if (m_table.filtered())
                m_table.setFiltered(false);
            m_table.first();
        } catch (...) {
        }
        m_table.enableControls();
    }
    TableRestore(const TableRestore&) = delete;
    TableRestore& operator=(const TableRestore&) = delete;

private:
    Table& m_table;
};

} // namespace

QByteArray MergeData::fileBytes() const {
    qsizetype size = 2;
    for (const QString& name : fieldNames)
        size += name.size() + 1;
    for (const QStringList& record : records) {
        size += 2;
        for (const QString& value : record)
            size += value.size() + 2;
    }
    QString text;
    text.reserve(size);
    for (const QString& name : fieldNames)
        text.append(name).append(u'|');
    text.append(QLatin1String("\r\n"));
    for (const QStringList& record : records) {
        for (const QString& value : record)
            text.append(value).append(QLatin1String(" |"));
        text.append(QLatin1String("\r\n"));
    }
    return TextFile::encodeWindows1252(text);
}

namespace MergeDataFile {

QString filePath(const QString& lettersDir) {
    return FileNames::resolve(lettersDir + QStringLiteral("Serienbrief.txt"));
}

QString cannotWriteMessage() {
    return QStringLiteral(
        "Neue Serienbrief-Datenbank kann nicht erzeugt werden, da diese momentan von Word "
        "verwendet wird. Bitte schließen Sie Word und starten den Vorgang nochmal!");
}

MergeData collect(Table& table, const QStringList& profileLines, const QString& programDir) {
    MergeData data;
    for (int i = 6; i < profileLines.size(); ++i)
        data.fieldNames.append(Column(profileLines[i], 1));

    TableRestore restore(table);
    table.first();
    // The table ends unfiltered with this filter text; the marked records are read through
    // the filter without switching it on, which would walk the whole table once more.
    const QString marked = QStringLiteral("Selected='True'");
    if (table.filtered())
        table.setFiltered(false);
    table.setFilter(marked);

    const QList<FieldDef>& fields = table.fields();
    int salutationField = -1;
    for (int i = kFirstMergedField; i < fields.size(); ++i)
        if (AsciiUpper(fields[i].name) == u"ANREDE")
            salutationField = i;
    // The salutation file is read before the first record, so a missing file stops the
    // writer before anything is saved, marked records or not.
    Salutations::Lookup salutations(programDir);

    table.forEachRecordWhere(
        marked,
        [&](const QVector<QVariant>& values) {
            QStringList line;
            line.reserve(std::max<qsizetype>(0, fields.size() - kFirstMergedField));
            for (int i = kFirstMergedField; i < fields.size(); ++i) {
                const QString text = FieldValues::toText(fields[i], values[i]);
                line.append(i == salutationField ? salutations.formulaFor(text) : text);
            }
            data.records.push_back(std::move(line));
            return true;
        },
        kFirstMergedField);
    return data;
}

bool save(const MergeData& data, const QString& lettersDir) {
    try {
        TextFile::writeBytes(filePath(lettersDir), data.fileBytes());
    } catch (const QuillonError&) {
        return false;
    }
    return true;
}

} // namespace MergeDataFile

bool WriteSerienbriefFile(Table& table, const QStringList& profileLines, const Folders& folders,
                          UserDialogs& dialogs, MergeData* written) {
    MergeData data = MergeDataFile::collect(table, profileLines, folders.programDir);
    if (!MergeDataFile::save(data, folders.lettersDir)) {
        dialogs.error(MergeDataFile::cannotWriteMessage());
        return false;
    }
    if (written)
        *written = std::move(data);
    return true;
}
