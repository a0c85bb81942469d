#include "Table.h"

#include "FieldValues.h"
#include "FileNames.h"
#include "QuillonError.h"
#include "StoreLock.h"
#include "TextHelpers.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <QUuid>
#include <algorithm>
#include <sqlite3.h>

namespace {

constexpr int kMaxTextSize = 255;

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QuillonError storeError(const QString& what, sqlite3* db) {
    return QuillonError(QStringLiteral("%1: %2").arg(what, sqliteMessage(db)));
}

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Picture || kind == FieldKind::Memo;
}

QString sqlType(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc:
    case FieldKind::Logical:
        return QStringLiteral("INTEGER");
    case FieldKind::Float:
    case FieldKind::Currency:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("TEXT");
    }
}

// A statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql) : m_db(db) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &m_stmt,
                               nullptr) != SQLITE_OK)
            throw storeError(QStringLiteral("Fehler der Tabelle"), db);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    void bindAll(const QList<QVariant>& values) {
        for (int i = 0; i < values.size(); ++i)
            bindVariant(i + 1, values[i]);
    }
    void bindVariant(int index, const QVariant& value) {
        switch (value.typeId()) {
        case QMetaType::UnknownType:
            sqlite3_bind_null(m_stmt, index);
            break;
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::Bool:
            sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            sqlite3_bind_text(m_stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        }
        }
    }
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw storeError(QStringLiteral("Fehler der Tabelle"), m_db);
    }
    QString textAt(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw QuillonError(QStringLiteral("Fehler der Tabelle: %1").arg(message));
    }
}

// Storage form of a value: QDate and QTime as ISO text, bool as 0/1.
QVariant toStorage(const FieldDef& field, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (field.kind) {
    case FieldKind::Logical:
        return qint64(value.toBool() ? 1 : 0);
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        return value.toLongLong();
    case FieldKind::Float:
    case FieldKind::Currency:
        return value.toDouble();
    case FieldKind::Date:
        return value.toDate().toString(Qt::ISODate);
    case FieldKind::Time:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return value.toString();
    }
}

QVariant fromColumn(const FieldDef& field, sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return {};
    switch (field.kind) {
    case FieldKind::Logical:
        return sqlite3_column_int64(stmt, column) != 0;
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        return static_cast<qint64>(sqlite3_column_int64(stmt, column));
    case FieldKind::Float:
    case FieldKind::Currency:
        return sqlite3_column_double(stmt, column);
    default:
        break;
    }
    const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    const QString text = QString::fromUtf8(raw, sqlite3_column_bytes(stmt, column));
    if (field.kind == FieldKind::Date)
        return QDate::fromString(text, Qt::ISODate);
    if (field.kind == FieldKind::Time)
        return QTime::fromString(text, QStringLiteral("hh:mm:ss"));
    return text;
}

int findFieldIn(const QList<FieldDef>& fields, const QString& name) {
    for (int i = 0; i < fields.size(); ++i)
        if (SameTextIgnoringCase(fields[i].name, name))
            return i;
    return -1;
}

// The field that serves as SQLite's rowid: a primary index over one auto-increment field.
int rowidFieldOf(const QList<FieldDef>& fields, const QList<IndexDef>& indexes) {
    for (const IndexDef& index : indexes) {
        if (!index.primary)
            continue;
        const QStringList names = index.fieldNames();
        if (names.size() == 1) {
            const int field = findFieldIn(fields, names.first());
            if (field >= 0 && fields[field].kind == FieldKind::AutoInc)
                return field;
        }
    }
    return -1;
}

QString indexColumns(const QList<FieldDef>& fields, const IndexDef& index, bool nocase) {
    QStringList columns;
    for (const QString& name : index.fieldNames()) {
        const FieldDef& field = fields[findFieldIn(fields, name)];
        columns.append(quoteIdentifier(field.name) + (nocase && isTextKind(field.kind)
                                                          ? QStringLiteral(" COLLATE NOCASE")
                                                          : QString()));
    }
    return columns.join(QStringLiteral(", "));
}

// The SQL index standing for index definition number position; none for a primary index
// that is the rowid itself.
QString sqlIndexName(const IndexDef& index, int position) {
    return QStringLiteral("ix%1_").arg(position) + index.name;
}

QString indexStatement(const QList<FieldDef>& fields, const IndexDef& index, int position) {
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(index.primary ? QStringLiteral("UNIQUE ") : QString(),
             quoteIdentifier(sqlIndexName(index, position)), Table::recordsTable(),
             indexColumns(fields, index, !index.primary));
}

void validate(const TableDefinition& definition) {
    const QList<FieldDef>& fields = definition.fields();
    if (fields.isEmpty())
        throw QuillonError(QStringLiteral("Die Tabelle hat keine Felder."));
    for (const FieldDef& field : fields) {
        if (field.name.isEmpty())
            throw QuillonError(QStringLiteral("Ein Feld hat keinen Namen."));
        if (field.kind == FieldKind::Text && (field.size < 1 || field.size > kMaxTextSize))
            throw QuillonError(QStringLiteral("Die Größe %1 des Textfelds „%2“ ist nicht "
                                              "erlaubt (1 bis %3).")
                                   .arg(field.size)
                                   .arg(field.name)
                                   .arg(kMaxTextSize));
    }
    int primaries = 0;
    for (const IndexDef& index : definition.indexes()) {
        if (index.fieldNames().isEmpty())
            throw QuillonError(
                QStringLiteral("Der Index „%1“ nennt keine Felder.").arg(index.name));
        for (const QString& name : index.fieldNames())
            if (findFieldIn(fields, name) < 0)
                throw QuillonError(QStringLiteral("Der Index „%1“ nennt das unbekannte Feld „%2“.")
                                       .arg(index.name, name));
        if (index.primary)
            ++primaries;
    }
    if (primaries > 1)
        throw QuillonError(QStringLiteral("Die Tabelle hat mehr als einen Primärindex."));
    if (primaries == 0 && !definition.indexes().isEmpty())
        throw QuillonError(
            QStringLiteral("Sekundärindizes verlangen einen Primärindex der Tabelle."));
}

sqlite3* openConnection(const QString& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? sqliteMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw QuillonError(
            QStringLiteral("Die Tabelle „%1“ kann nicht geöffnet werden: %2").arg(path, message));
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_extended_result_codes(db, 0);
    return db;
}

} // namespace

void Table::create(const QString& path, const TableDefinition& definition) {
    validate(definition);
    const QList<FieldDef>& fields = definition.fields();
    const int rowidField = rowidFieldOf(fields, definition.indexes());

    // Built beside the target and moved into place, so a failure leaves no half table.
    const QString temporary =
        path + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    sqlite3* db = openConnection(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        exec(db, QStringLiteral("PRAGMA journal_mode=DELETE; BEGIN;"
                                "CREATE TABLE quillon_fields(position INTEGER PRIMARY KEY, name "
                                "TEXT NOT NULL, kind TEXT NOT NULL, size INTEGER NOT NULL, "
                                "required INTEGER NOT NULL);"
                                "CREATE TABLE quillon_indexes(position INTEGER PRIMARY KEY, name "
                                "TEXT NOT NULL, fields TEXT NOT NULL, is_primary INTEGER NOT "
                                "NULL);"));
        QStringList columns;
        for (int i = 0; i < fields.size(); ++i) {
            const FieldDef& field = fields[i];
            QString column = quoteIdentifier(field.name) + u' ' + sqlType(field.kind);
            if (i == rowidField)
                column += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
            columns.append(column);
            Statement insert(db, QStringLiteral("INSERT INTO quillon_fields VALUES (?,?,?,?,?)"));
            insert.bindAll({qint64(i), field.name, fieldKindName(field.kind), qint64(field.size),
                            qint64(field.required ? 1 : 0)});
            insert.step();
        }
        exec(db, QStringLiteral("CREATE TABLE %1 (%2);")
                     .arg(recordsTable(), columns.join(QStringLiteral(", "))));
        int position = 0;
        for (const IndexDef& index : definition.indexes()) {
            Statement insert(db, QStringLiteral("INSERT INTO quillon_indexes VALUES (?,?,?,?)"));
            insert.bindAll(
                {qint64(position), index.name, index.fields, qint64(index.primary ? 1 : 0)});
            insert.step();
            const bool asRowid = index.primary && rowidField >= 0;
            if (!asRowid)
                exec(db, indexStatement(fields, index, position));
            ++position;
        }
        exec(db, QStringLiteral("COMMIT;"));
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(temporary);
        throw;
    }
    sqlite3_close(db);
    const QString target = FileNames::resolve(path);
    QFile::remove(target);
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        throw QuillonError(
            QStringLiteral("Die Tabelle „%1“ kann nicht angelegt werden.").arg(path));
    }
}

Table::Table(QObject* parent) : QObject(parent) {}

Table::~Table() {
    if (isOpen()) {
        try {
            close();
        } catch (...) {
        }
    }
}

void Table::setTableName(const QString& path) {
    if (isOpen())
        close();
    m_path = path;
}

void Table::requireOpen() const {
    if (!isOpen())
        throw QuillonError(QStringLiteral("Die Tabelle ist nicht geöffnet."));
}

void Table::open() {
    if (isOpen())
        return;
    const QString actual = FileNames::resolve(m_path);
    if (!QFileInfo::exists(actual))
        throw QuillonError(QStringLiteral("Die Tabelle „%1“ wurde nicht gefunden.").arg(m_path));
    m_folder = QFileInfo(actual).absolutePath();
    StoreLock::acquire(m_folder);
    try {
        // A table object lives on one thread, so its connection needs no locking of its own.
        m_db = openConnection(actual, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
        exec(m_db, QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"));
        loadSchema();
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        StoreLock::release(m_folder);
        throw;
    }
    m_state = State::Browse;
    try {
        if (m_filtered) {
            m_condition = FilterParser::compile(m_filterText, m_fields);
            m_appliedFilter = m_filterText;
        }
        reloadKeys();
    } catch (...) {
        close();
        throw;
    }
    setPosition(m_keys.empty() ? -1 : 0);
    m_bof = true;
    m_eof = m_keys.empty();
    emit stateChanged();
    notifyDataSet();
    emit afterOpen();
}

void Table::loadSchema() {
    m_fields.clear();
    m_indexes.clear();
    try {
        Statement fields(m_db, QStringLiteral("SELECT name, kind, size, required FROM "
                                              "quillon_fields ORDER BY position"));
        while (fields.step()) {
            FieldDef field;
            field.name = fields.textAt(0);
            if (!fieldKindFromName(fields.textAt(1), &field.kind))
                throw QuillonError(QStringLiteral("unbekannte Feldart"));
            field.size = sqlite3_column_int(fields.get(), 2);
            field.required = sqlite3_column_int(fields.get(), 3) != 0;
            m_fields.append(field);
        }
        Statement indexes(m_db, QStringLiteral("SELECT name, fields, is_primary FROM "
                                               "quillon_indexes ORDER BY position"));
        while (indexes.step())
            m_indexes.append(
                {indexes.textAt(0), indexes.textAt(1), sqlite3_column_int(indexes.get(), 2) != 0});
    } catch (const QuillonError& error) {
        throw QuillonError(
            QStringLiteral("„%1“ ist keine lesbare Tabelle: %2").arg(m_path, error.message()));
    }
    if (m_fields.isEmpty())
        throw QuillonError(QStringLiteral("„%1“ ist keine lesbare Tabelle.").arg(m_path));
    m_rowidField = rowidFieldOf(m_fields, m_indexes);
}

void Table::close() {
    if (!isOpen())
        return;
    sqlite3_finalize(m_rowStatement);
    m_rowStatement = nullptr;
    sqlite3_close(m_db);
    m_db = nullptr;
    StoreLock::release(m_folder);
    m_state = State::Inactive;
    m_keys.clear();
    m_pos = -1;
    m_eof = m_bof = true;
    m_currentKey = -1;
    m_current.clear();
    m_buffer.clear();
    emit stateChanged();
    notifyDataSet();
    emit afterClose();
}

void Table::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

int Table::chosenIndex() const {
    for (int i = 0; i < m_indexes.size(); ++i) {
        const IndexDef& index = m_indexes[i];
        if (!m_indexName.isEmpty() ? SameTextIgnoringCase(index.name, m_indexName) : index.primary)
            return i;
    }
    return -1;
}

void Table::ensureOrderIndex() {
    const int position = chosenIndex();
    if (position < 0 || (m_indexes[position].primary && m_rowidField >= 0))
        return;
    try {
        execute(indexStatement(m_fields, m_indexes[position], position));
    } catch (const QuillonError&) {
        // A file that cannot be written still gives the order, sorted without the index.
    }
}

bool Table::setIndexesAsideFor(qint64 records) {
    requireOpen();
    constexpr qint64 kManyRecords = 10000;
    if (records < kManyRecords)
        return false;
    qint64 existing = 0;
    forEachRow(QStringLiteral("SELECT count(*) FROM %1").arg(recordsTable()), {},
               [&](sqlite3_stmt* row) {
                   existing = sqlite3_column_int64(row, 0);
                   return false;
               });
    if (records * 10 < existing)
        return false;
    const int position = chosenIndex();
    const QString kept = position >= 0 ? sqlIndexName(m_indexes[position], position) : QString();
    // Unique indexes stay, so a duplicate is still refused at its own record.
    QStringList names;
    forEachRow(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' "
                              "AND tbl_name = ? AND sql IS NOT NULL"),
               {recordsTable()}, [&](sqlite3_stmt* row) {
                   const QString name = QString::fromUtf8(
                       reinterpret_cast<const char*>(sqlite3_column_text(row, 0)));
                   const QString sql = QString::fromUtf8(
                       reinterpret_cast<const char*>(sqlite3_column_text(row, 1)));
                   if (!sql.startsWith(QStringLiteral("CREATE UNIQUE"), Qt::CaseInsensitive) &&
                       name.compare(kept, Qt::CaseInsensitive) != 0)
                       names.append(name);
                   return true;
               });
    for (const QString& name : names)
        execute(QStringLiteral("DROP INDEX %1").arg(quoteIdentifier(name)));
    return !names.isEmpty();
}

QString Table::orderClause() const {
    const int position = chosenIndex();
    const IndexDef* chosen = position >= 0 ? &m_indexes[position] : nullptr;
    if (!chosen || (chosen->primary && m_rowidField >= 0))
        return QStringLiteral("rowid");
    return indexColumns(m_fields, *chosen, !chosen->primary) + QStringLiteral(", rowid");
}

CompiledFilter Table::activeCondition() const {
    return m_filtered ? m_condition : CompiledFilter{};
}

void Table::reloadKeys() {
    ensureOrderIndex();
    const CompiledFilter condition = activeCondition();
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(recordsTable());
    if (!condition.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition.sql;
    sql += QStringLiteral(" ORDER BY ") + orderClause();
    Statement select(m_db, sql);
    select.bindAll(condition.binds);
    std::vector<Bookmark> keys;
    keys.reserve(m_keys.size() + 16);
    while (select.step())
        keys.push_back(sqlite3_column_int64(select.get(), 0));
    m_keys.swap(keys);
    m_currentKey = -1;
}

void Table::locate(Bookmark key) {
    const auto it = std::find(m_keys.begin(), m_keys.end(), key);
    if (it != m_keys.end())
        setPosition(static_cast<int>(it - m_keys.begin()));
    else
        setPosition(m_keys.empty() ? -1 : std::min(std::max(m_pos, 0), recordCount() - 1));
}

void Table::setPosition(int pos) {
    m_pos = pos;
    m_eof = m_bof = false;
    if (m_keys.empty()) {
        m_pos = -1;
        m_eof = m_bof = true;
    }
    notifyCurrent();
}

void Table::notifyCurrent() {
    if (m_disableCount == 0)
        emit currentChanged();
}

void Table::notifyDataSet() {
    if (m_disableCount > 0) {
        m_dataSetDirty = true;
        return;
    }
    emit dataSetChanged();
}

void Table::requireBrowse() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Table::setIndexName(const QString& name) {
    if (isOpen() && !name.isEmpty()) {
        bool known = false;
        for (const IndexDef& index : m_indexes)
            known = known || SameTextIgnoringCase(index.name, name);
        if (!known)
            throw QuillonError(QStringLiteral("Die Tabelle hat keinen Index „%1“.").arg(name));
    }
    m_indexName = name;
    if (!isOpen())
        return;
    requireBrowse();
    const Bookmark current = bookmark();
    reloadKeys();
    locate(current);
    notifyDataSet();
}

void Table::setFilter(const QString& expression) {
    if (isOpen() && m_filtered) {
        const CompiledFilter compiled = FilterParser::compile(expression, m_fields);
        requireBrowse();
        m_filterText = expression;
        m_appliedFilter = expression;
        m_condition = compiled;
        reloadKeys();
        setPosition(m_keys.empty() ? -1 : 0);
        notifyDataSet();
        return;
    }
    m_filterText = expression;
}

void Table::setFiltered(bool on) {
    if (!isOpen()) {
        m_filtered = on;
        return;
    }
    if (on && m_filtered && m_appliedFilter == m_filterText) {
        // Already applied by setFilter: only the move to the first record is left.
        first();
        return;
    }
    CompiledFilter compiled;
    if (on)
        compiled = FilterParser::compile(m_filterText, m_fields);
    requireBrowse();
    m_appliedFilter = m_filterText;
    m_filtered = on;
    m_condition = compiled;
    reloadKeys();
    setPosition(m_keys.empty() ? -1 : 0);
    m_bof = true;
    notifyDataSet();
}

void Table::refresh() {
    requireBrowse();
    const Bookmark current = bookmark();
    reloadKeys();
    locate(current);
    notifyDataSet();
}

void Table::first() {
    requireBrowse();
    setPosition(m_keys.empty() ? -1 : 0);
    m_bof = true;
}

void Table::last() {
    requireBrowse();
    setPosition(m_keys.empty() ? -1 : recordCount() - 1);
}

void Table::next() {
    requireBrowse();
    if (m_keys.empty() || m_pos >= recordCount() - 1) {
        m_eof = true;
        return;
    }
    setPosition(m_pos + 1);
}

void Table::prior() {
    requireBrowse();
    if (m_keys.empty() || m_pos <= 0) {
        m_bof = true;
        return;
    }
    setPosition(m_pos - 1);
}

void Table::moveTo(int row) {
    requireBrowse();
    if (m_keys.empty())
        return setPosition(-1);
    setPosition(std::clamp(row, 0, recordCount() - 1));
}

Table::Bookmark Table::bookmark() const {
    return m_pos >= 0 ? m_keys[m_pos] : -1;
}

bool Table::gotoBookmark(Bookmark bookmark) {
    requireBrowse();
    const auto it = std::find(m_keys.begin(), m_keys.end(), bookmark);
    if (it == m_keys.end())
        return false;
    setPosition(static_cast<int>(it - m_keys.begin()));
    return true;
}

bool Table::bookmarkValid(Bookmark bookmark) const {
    return std::find(m_keys.begin(), m_keys.end(), bookmark) != m_keys.end();
}

int Table::findField(const QString& name) const {
    return findFieldIn(m_fields, name);
}

int Table::fieldIndex(const QString& name) const {
    const int index = findField(name);
    if (index < 0)
        throw QuillonError(QStringLiteral("Feld „%1“ nicht gefunden.").arg(name));
    return index;
}

QVector<QVariant> Table::readRecord(Bookmark key) const {
    if (!m_rowStatement) {
        QStringList columns;
        for (const FieldDef& field : m_fields)
            columns.append(quoteIdentifier(field.name));
        const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                   .arg(columns.join(QStringLiteral(", ")), recordsTable())
                                   .toUtf8();
        if (sqlite3_prepare_v3(m_db, sql.constData(), static_cast<int>(sql.size()),
                               SQLITE_PREPARE_PERSISTENT, &m_rowStatement, nullptr) != SQLITE_OK)
            throw storeError(QStringLiteral("Fehler der Tabelle"), m_db);
    }
    sqlite3_reset(m_rowStatement);
    sqlite3_bind_int64(m_rowStatement, 1, key);
    QVector<QVariant> values(m_fields.size());
    const int rc = sqlite3_step(m_rowStatement);
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < m_fields.size(); ++i)
            values[i] = fromColumn(m_fields[i], m_rowStatement, i);
    } else if (rc != SQLITE_DONE) {
        throw storeError(QStringLiteral("Fehler der Tabelle"), m_db);
    }
    sqlite3_reset(m_rowStatement);
    return values;
}

QVector<QVariant> Table::rowValues(int row) const {
    requireOpen();
    if (row < 0 || row >= recordCount())
        return QVector<QVariant>(m_fields.size());
    if (row == m_pos && (m_state == State::Edit))
        return m_buffer;
    return readRecord(m_keys[row]);
}

QVariant Table::value(int field) const {
    requireOpen();
    if (field < 0 || field >= m_fields.size())
        throw QuillonError(QStringLiteral("Feldnummer %1 gibt es nicht.").arg(field));
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[field];
    if (m_pos < 0)
        return {};
    if (m_currentKey != m_keys[m_pos]) {
        m_current = readRecord(m_keys[m_pos]);
        m_currentKey = m_keys[m_pos];
    }
    return m_current[field];
}

QString Table::text(int field) const {
    return FieldValues::toText(m_fields[field], value(field));
}

void Table::setValue(int field, const QVariant& value) {
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert)
        throw QuillonError(QStringLiteral("Die Tabelle ist nicht im Bearbeitungsmodus."));
    if (field < 0 || field >= m_fields.size())
        throw QuillonError(QStringLiteral("Feldnummer %1 gibt es nicht.").arg(field));
    if (m_fields[field].kind == FieldKind::AutoInc && !value.isNull())
        throw QuillonError(QStringLiteral("Das Feld „%1“ vergibt die Tabelle selbst; es kann "
                                          "nicht gesetzt werden.")
                               .arg(m_fields[field].name));
    m_buffer[field] = value;
    m_modified[field] = true;
    if (m_disableCount == 0)
        emit recordChanged();
}

void Table::setText(int field, const QString& text) {
    if (field < 0 || field >= m_fields.size())
        throw QuillonError(QStringLiteral("Feldnummer %1 gibt es nicht.").arg(field));
    setValue(field, FieldValues::fromText(m_fields[field], text));
}

void Table::append() {
    requireBrowse();
    m_buffer = QVector<QVariant>(m_fields.size());
    m_modified = QVector<bool>(m_fields.size(), false);
    setState(State::Insert);
    if (m_disableCount == 0)
        emit recordChanged();
}

void Table::edit() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_pos < 0)
        throw QuillonError(QStringLiteral("Die Tabelle enthält keinen Datensatz zum Bearbeiten."));
    m_buffer.resize(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i)
        m_buffer[i] = value(i);
    m_modified = QVector<bool>(m_fields.size(), false);
    setState(State::Edit);
}

void Table::checkRequired() const {
    for (int i = 0; i < m_fields.size(); ++i) {
        const FieldDef& field = m_fields[i];
        if (field.required && field.kind != FieldKind::AutoInc && m_buffer[i].isNull())
            throw QuillonError(
                QStringLiteral("Das Feld „%1“ muss einen Wert haben.").arg(field.name));
    }
}

void Table::post() {
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    checkRequired();
    const bool inserting = m_state == State::Insert;
    Bookmark key = inserting ? -1 : m_keys[m_pos];
    QStringList names;
    QList<QVariant> binds;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_modified[i])
            continue;
        names.append(quoteIdentifier(m_fields[i].name));
        binds.append(toStorage(m_fields[i], m_buffer[i]));
    }
    if (inserting) {
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields[i].kind == FieldKind::AutoInc && i != m_rowidField) {
                names.append(quoteIdentifier(m_fields[i].name));
                Statement next(m_db, QStringLiteral("SELECT ifnull(max(%1),0)+1 FROM %2")
                                         .arg(quoteIdentifier(m_fields[i].name), recordsTable()));
                next.step();
                binds.append(static_cast<qint64>(sqlite3_column_int64(next.get(), 0)));
            }
        }
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(recordsTable());
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks.append(QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(recordsTable(), names.join(QStringLiteral(", ")),
                           marks.join(QStringLiteral(", ")));
        }
        Statement insert(m_db, sql);
        insert.bindAll(binds);
        insert.step();
        key = sqlite3_last_insert_rowid(m_db);
    } else if (!names.isEmpty()) {
        QStringList sets;
        for (const QString& name : names)
            sets.append(name + QStringLiteral(" = ?"));
        Statement update(m_db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                   .arg(recordsTable(), sets.join(QStringLiteral(", "))));
        binds.append(key);
        update.bindAll(binds);
        update.step();
    }
    m_buffer.clear();
    m_currentKey = -1;
    setState(State::Browse);
    const bool orderedByRowid = orderClause() == u"rowid";
    if (inserting && !m_filtered && orderedByRowid) {
        m_keys.push_back(key);
        setPosition(recordCount() - 1);
        notifyDataSet();
    } else if (inserting || (!names.isEmpty() && (m_filtered || !orderedByRowid))) {
        reloadKeys();
        locate(key);
        notifyDataSet();
    } else {
        notifyCurrent();
        if (m_disableCount == 0)
            emit recordChanged();
    }
    emit afterPost();
}

void Table::cancel() {
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    setState(State::Browse);
    notifyCurrent();
    if (m_disableCount == 0)
        emit recordChanged();
}

void Table::deleteRecord() {
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_pos < 0)
        throw QuillonError(QStringLiteral("Die Tabelle enthält keinen Datensatz zum Löschen."));
    const Bookmark key = m_keys[m_pos];
    Statement remove(m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(recordsTable()));
    remove.bindAll({key});
    remove.step();
    m_keys.erase(m_keys.begin() + m_pos);
    m_currentKey = -1;
    setPosition(m_keys.empty() ? -1 : std::min(m_pos, recordCount() - 1));
    notifyDataSet();
    emit afterDelete();
}

void Table::execute(const QString& sql, const QList<QVariant>& binds) {
    requireOpen();
    Statement statement(m_db, sql);
    statement.bindAll(binds);
    while (statement.step()) {
    }
    m_currentKey = -1;
}

void Table::forEachRow(const QString& sql, const QList<QVariant>& binds,
                       const std::function<bool(sqlite3_stmt*)>& row) const {
    requireOpen();
    Statement statement(m_db, sql);
    statement.bindAll(binds);
    while (statement.step())
        if (!row(statement.get()))
            break;
}

void Table::forEachRecord(const std::function<bool(const QVector<QVariant>&)>& record,
                          int firstField) const {
    forEachRecordIn(activeCondition(), record, firstField);
}

void Table::forEachRecordWhere(const QString& expression,
                               const std::function<bool(const QVector<QVariant>&)>& record,
                               int firstField) const {
    requireOpen();
    forEachRecordIn(FilterParser::compile(expression, m_fields), record, firstField);
}

void Table::forEachRecordIn(const CompiledFilter& condition,
                            const std::function<bool(const QVector<QVariant>&)>& record,
                            int firstField) const {
    requireOpen();
    firstField = std::clamp(firstField, 0, static_cast<int>(m_fields.size()));
    QStringList columns;
    for (int i = firstField; i < m_fields.size(); ++i)
        columns.append(quoteIdentifier(m_fields[i].name));
    if (columns.isEmpty())
        columns.append(QStringLiteral("rowid"));
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), recordsTable());
    if (!condition.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition.sql;
    sql += QStringLiteral(" ORDER BY ") + orderClause();
    Statement statement(m_db, sql);
    statement.bindAll(condition.binds);
    QVector<QVariant> values(m_fields.size());
    while (statement.step()) {
        for (int i = firstField; i < m_fields.size(); ++i)
            values[i] = fromColumn(m_fields[i], statement.get(), i - firstField);
        if (!record(values))
            break;
    }
}

void Table::beginTransaction() {
    requireOpen();
    exec(m_db, QStringLiteral("BEGIN IMMEDIATE;"));
}

void Table::commit() {
    requireOpen();
    exec(m_db, QStringLiteral("COMMIT;"));
}

void Table::rollback() {
    requireOpen();
    if (!sqlite3_get_autocommit(m_db))
        exec(m_db, QStringLiteral("ROLLBACK;"));
}

void Table::disableControls() {
    ++m_disableCount;
}

void Table::enableControls() {
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    m_dataSetDirty = false;
    emit dataSetChanged();
    emit currentChanged();
}
