#pragma once

#include "TableDefinition.h"

#include <QVariant>

// Text forms of field values, German whatever the machine's locale: "Wahr"/"Falsch",
// decimal comma, dates dd.MM.yyyy, times hh:mm:ss. An empty field is the null QVariant
// and its text is empty. In memory a value is a QString, qint64, bool, double, QDate or QTime.
namespace FieldValues {

// Converts text to the field's kind; text that does not fit is a QuillonError naming the
// field. Empty text (blank text for kinds other than text) gives the empty value.
QVariant fromText(const FieldDef& field, const QString& text);
QString toText(const FieldDef& field, const QVariant& value);

// Lenient readers shared with the filter parser; false when the text is not of the kind.
bool parseLogical(const QString& text, bool* value);
bool parseInteger(const QString& text, qint64* value);
bool parseNumber(const QString& text, double* value);
bool parseDate(const QString& text, QDate* value);
bool parseTime(const QString& text, QTime* value);

QString formatNumber(double value);

} // namespace FieldValues
