#include "TableCreation.h"

#include "Descriptors.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"
#include "foundations/UserDialogs.h"

#include <limits>

namespace {

struct TypeEntry {
    const char* typeName;
    FieldKind kind;
};

constexpr TypeEntry kTypes[] = {
    {"ftString", FieldKind::Text},     {"ftPicture", FieldKind::Picture},
    {"ftInteger", FieldKind::Integer}, {"ftBoolean", FieldKind::Logical},
    {"ftFloat", FieldKind::Float},     {"ftCurrency", FieldKind::Currency},
    {"ftDate", FieldKind::Date},       {"ftTime", FieldKind::Time},
    {"ftAutoInc", FieldKind::AutoInc}, {"ftMemo", FieldKind::Memo},
};

bool kindOfTypeName(const QString& typeName, FieldKind* kind) {
    for (const TypeEntry& entry : kTypes)
        if (typeName == QLatin1String(entry.typeName)) {
            *kind = entry.kind;
            return true;
        }
    return false;
}

// A whole number as the size column must hold it, taken modulo 65536.
int sizeOf(const QString& text, int line, const QString& profilePath) {
    QStringView digits(text);
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.mid(1);
    bool ok = !digits.isEmpty();
    for (QChar c : digits)
        ok = ok && c >= u'0' && c <= u'9';
    qint64 value = ok ? digits.toLongLong(&ok) : 0;
    if (negative)
        value = -value;
    if (!ok || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        throw QuillonError(QStringLiteral("„%1“ ist kein gültiger ganzzahliger Wert (Größe in "
                                          "Zeile %2 von „%3“).")
                               .arg(text)
                               .arg(line)
                               .arg(profilePath));
    return static_cast<int>(static_cast<quint16>(value & 0xFFFF));
}

} // namespace

bool CreateTableFromProfile(const QString& dataDir, const QString& name, UserDialogs& dialogs) {
    const QString profilePath = DescriptorPaths::profileFile(dataDir, name);
    const QStringList lines = TextFile::readLines(profilePath);

    TableDefinition definition;
    QStringList log;
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString fieldName = Column(line, 1);
        const QString typeName = Column(line, 2);
        const QString required = AsciiUpper(Column(line, 3));
        const int size = sizeOf(Column(line, 4), i, profilePath);
        FieldKind kind;
        if (kindOfTypeName(typeName, &kind))
            definition.addField(fieldName, kind, kind == FieldKind::Picture ? 2 : size,
                                required == u"TRUE");
        log.append(QStringLiteral("FieldDefs.Add(%1,%2,%3,%4);")
                       .arg(fieldName, typeName, QString::number(size), required));
    }
    for (int i = 1; i < lines.size(); ++i) {
        const QString indexName = Column(lines[i], 5);
        if (indexName.isEmpty())
            continue;
        const QString indexFields = Column(lines[i], 6);
        const bool primary = !Column(lines[i], 7).isEmpty();
        definition.addIndex(indexName, indexFields, primary);
        log.append(
            QStringLiteral("IndexDefs.Add(%1,%2,%3);")
                .arg(indexName, indexFields,
                     primary ? QStringLiteral("[ixPrimary,ixUnique]") : QStringLiteral("[]")));
    }
    TextFile::writeLines(DescriptorPaths::logFile(dataDir, name), log);

    try {
        Table::create(DescriptorPaths::tableFile(dataDir, name), definition);
    } catch (const QuillonError& refusal) {
        qWarning("%s: %s", qPrintable(name), refusal.what());
        dialogs.error(QStringLiteral("Database not created!"));
        return false;
    }
    return true;
}
