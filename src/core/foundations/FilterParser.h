#pragma once

#include "TableDefinition.h"

#include <QList>
#include <QString>
#include <QVariant>

// Translates a filter expression such as  Name = 'Mei*' AND Ort <> 'Berlin'  into an SQL
// condition over the records table. Values are always bound, never pasted into the SQL.
// Text comparisons ignore ASCII letter case; a trailing "*" in a literal compared with "="
// or "<>" is a prefix comparison. An empty field counts as the empty text and as false.
//
// Grammar: expr := and (OR and)* ; and := not (AND not)* ; not := NOT not | primary ;
// primary := "(" expr ")" | operand op operand | field IS [NOT] NULL ;
// op := = | <> | != | < | > | <= | >= ; an operand is a field name (plain, [bracketed] or
// "quoted"), a 'quoted literal' ('' inside for a quote) or a number; one side is a field.
struct CompiledFilter {
    QString sql; // empty for an empty expression: every record passes
    QList<QVariant> binds;
};

class FilterParser {
public:
    static CompiledFilter compile(const QString& expression, const QList<FieldDef>& fields);
};

QString quoteIdentifier(const QString& name);
