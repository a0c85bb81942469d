#pragma once

#include <QList>
#include <QString>
#include <QStringList>

enum class FieldKind {
    Text,
    Picture,
    Integer,
    Logical,
    Float,
    Currency,
    Date,
    Time,
    AutoInc,
    Memo
};

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0;
    bool required = false;
};

struct IndexDef {
    QString name;
    QString fields; // field names separated by ";"
    bool primary = false;

    QStringList fieldNames() const;
};

// Field and index definitions of a table about to be created. Names are unique ignoring
// case; adding a repeated one is refused at once.
class TableDefinition {
public:
    void addField(const QString& name, FieldKind kind, int size, bool required);
    void addIndex(const QString& name, const QString& fields, bool primary);
    void clearFields() { m_fields.clear(); }
    void clearIndexes() { m_indexes.clear(); }

    const QList<FieldDef>& fields() const { return m_fields; }
    const QList<IndexDef>& indexes() const { return m_indexes; }

private:
    QList<FieldDef> m_fields;
    QList<IndexDef> m_indexes;
};

// The store's own name of a kind, as kept in a table file ("text", "logical", ...).
QString fieldKindName(FieldKind kind);
bool fieldKindFromName(const QString& name, FieldKind* kind);
// A German name of the kind for messages ("Text", "Ganzzahl", ...).
QString fieldKindCaption(FieldKind kind);
