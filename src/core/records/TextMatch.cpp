#include "TextMatch.h"

#include "foundations/FieldValues.h"
#include "foundations/FilterParser.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"

#include <QDate>
#include <QTime>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

const char* const kFunctionName = "quillon_first_match";
// SQLite limits the arguments of a function call; wider tables are split into groups.
constexpr int kFieldsPerCall = 100;

char kindCode(FieldKind kind) {
    return static_cast<char>('A' + static_cast<int>(kind));
}

// The bytes of the haystack with a to z upper-cased compared with an upper-cased needle.
// Both are UTF-8, whose multi-byte sequences never hold ASCII bytes, so this is the same
// test as on the decoded text.
bool containsFolded(const char* text, int bytes, const char* needle, int needleBytes) {
    if (needleBytes == 0 || bytes < needleBytes)
        return false;
    thread_local std::string folded;
    folded.assign(text, static_cast<size_t>(bytes));
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return memmem(folded.data(), folded.size(), needle, static_cast<size_t>(needleBytes)) !=
           nullptr;
}

// The text of a value of the rarer kinds, made by the same conversion the table uses.
QByteArray otherText(FieldKind kind, sqlite3_value* value) {
    FieldDef field;
    field.kind = kind;
    QVariant variant;
    const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const QString text = QString::fromUtf8(raw, sqlite3_value_bytes(value));
    switch (kind) {
    case FieldKind::Float:
    case FieldKind::Currency:
        variant = sqlite3_value_double(value);
        break;
    case FieldKind::Date:
        variant = QDate::fromString(text, Qt::ISODate);
        break;
    case FieldKind::Time:
        variant = QTime::fromString(text, QStringLiteral("hh:mm:ss"));
        break;
    default:
        variant = text;
    }
    return FieldValues::toText(field, variant).toUtf8();
}

// quillon_first_match(needle, kinds, offset, value1, value2, ...): offset plus the position
// of the first value whose text contains the upper-cased needle, or NULL.
void firstMatch(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* needle = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int needleBytes = sqlite3_value_bytes(argv[0]);
    const auto* kinds = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int kindCount = sqlite3_value_bytes(argv[1]);
    const int offset = sqlite3_value_int(argv[2]);
    if (!needle || needleBytes == 0 || !kinds) {
        sqlite3_result_null(context);
        return;
    }
    for (int i = 3; i < argc && i - 3 < kindCount; ++i) {
        sqlite3_value* value = argv[i];
        if (sqlite3_value_type(value) == SQLITE_NULL)
            continue;
        const auto kind = static_cast<FieldKind>(kinds[i - 3] - 'A');
        char number[32];
        const char* text = nullptr;
        int bytes = 0;
        QByteArray other;
        switch (kind) {
        case FieldKind::Text:
        case FieldKind::Picture:
        case FieldKind::Memo:
            text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            bytes = sqlite3_value_bytes(value);
            break;
        case FieldKind::Logical:
            text = sqlite3_value_int64(value) != 0 ? "Wahr" : "Falsch";
            bytes = static_cast<int>(std::strlen(text));
            break;
        case FieldKind::Integer:
        case FieldKind::AutoInc:
            bytes = std::snprintf(number, sizeof number, "%lld",
                                  static_cast<long long>(sqlite3_value_int64(value)));
            text = number;
            break;
        default:
            other = otherText(kind, value);
            text = other.constData();
            bytes = static_cast<int>(other.size());
        }
        if (text && containsFolded(text, bytes, needle, needleBytes)) {
            sqlite3_result_int(context, offset + i - 2);
            return;
        }
    }
    sqlite3_result_null(context);
}

} // namespace

namespace TextMatch {

QString firstMatchingField(Table& table, const QString& term, QList<QVariant>& binds) {
    if (sqlite3_create_function_v2(table.connection(), kFunctionName, -1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, firstMatch, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        throw QuillonError(QStringLiteral("Fehler der Tabelle: %1")
                               .arg(QString::fromUtf8(sqlite3_errmsg(table.connection()))));
    const QList<FieldDef>& fields = table.fields();
    const QString needle = AsciiUpper(term);
    QStringList calls;
    for (int first = 0; first < fields.size(); first += kFieldsPerCall) {
        QByteArray kinds;
        QStringList columns;
        for (int i = first; i < fields.size() && i < first + kFieldsPerCall; ++i) {
            kinds.append(kindCode(fields[i].kind));
            columns.append(quoteIdentifier(fields[i].name));
        }
        calls.append(QStringLiteral("%1(?, ?, %2, %3)")
                         .arg(QString::fromLatin1(kFunctionName))
                         .arg(first)
                         .arg(columns.join(QStringLiteral(", "))));
        binds.append(needle);
        binds.append(QString::fromLatin1(kinds));
    }
    // coalesce stops at the first group that has a match.
    return QStringLiteral("coalesce(%1, 0)").arg(calls.join(QStringLiteral(", ")));
}

} // namespace TextMatch
