#include "TableDefinition.h"

#include "QuillonError.h"
#include "TextHelpers.h"

namespace {

struct KindNames {
    FieldKind kind;
    const char* name;
    const char* caption;
};

constexpr KindNames kKinds[] = {
    {FieldKind::Text, "text", "Text"},           {FieldKind::Picture, "picture", "Kurztext"},
    {FieldKind::Integer, "integer", "Ganzzahl"}, {FieldKind::Logical, "logical", "Wahr/Falsch"},
    {FieldKind::Float, "float", "Zahl"},         {FieldKind::Currency, "currency", "Währung"},
    {FieldKind::Date, "date", "Datum"},          {FieldKind::Time, "time", "Uhrzeit"},
    {FieldKind::AutoInc, "autoinc", "Zähler"},   {FieldKind::Memo, "memo", "Memo"},
};

} // namespace

QStringList IndexDef::fieldNames() const {
    QStringList names;
    const int count = CountWords(fields, QStringLiteral(";"));
    for (int i = 1; i <= count; ++i) {
        const QString name = Trim(ExtractWord(i, fields, QStringLiteral(";")));
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

void TableDefinition::addField(const QString& name, FieldKind kind, int size, bool required) {
    for (const FieldDef& field : m_fields)
        if (SameTextIgnoringCase(field.name, name))
            throw QuillonError(QStringLiteral("Doppelter Feldname: „%1“").arg(name));
    m_fields.append({name, kind, size, required});
}

void TableDefinition::addIndex(const QString& name, const QString& fields, bool primary) {
    for (const IndexDef& index : m_indexes)
        if (SameTextIgnoringCase(index.name, name))
            throw QuillonError(QStringLiteral("Doppelter Indexname: „%1“").arg(name));
    m_indexes.append({name, fields, primary});
}

QString fieldKindName(FieldKind kind) {
    for (const KindNames& k : kKinds)
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    return {};
}

bool fieldKindFromName(const QString& name, FieldKind* kind) {
    for (const KindNames& k : kKinds)
        if (name == QLatin1String(k.name)) {
            *kind = k.kind;
            return true;
        }
    return false;
}

QString fieldKindCaption(FieldKind kind) {
    for (const KindNames& k : kKinds)
        if (k.kind == kind)
            return QString::fromUtf8(k.caption);
    return {};
}
