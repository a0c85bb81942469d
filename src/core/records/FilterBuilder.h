#pragma once

#include <QString>
#include <QStringList>

class Table;

// The filter window's expression: one or two conditions "field operator 'value'" joined by
// AND or OR, built from the window's inputs. Operators and connectors are numbered as the
// window cycles them: operators 1 "=", 2 "<>", 3 "<", 4 ">"; connectors 1 none, 2 "und"
// (AND), 3 "oder" (OR).
namespace FilterBuilder {

// Each of the seven parts of an expression holds at most this many characters.
constexpr int kPartLength = 40;
// Fields from this list position on (the fifth field) are compared as prefixes; the four
// before them are the standard fields ID, Selected, Invalid and LetztesMail.
constexpr int kFirstPrefixPosition = 4;
// The field boxes' first selections: Land and Ansprechpartner of the standard fields.
constexpr int kDefaultFirstPosition = 13;
constexpr int kDefaultSecondPosition = 9;

QString operatorText(int index);
int nextOperator(int index);
QString connectorCaption(int index);
QString connectorWord(int index);
int nextConnector(int index);

// The names the field boxes list: word 1 of every profile line after the header.
QStringList fieldNames(const QStringList& profileLines);

struct Condition {
    QString field;     // the selected field name, empty when none is selected
    int position = -1; // its position in the field list, -1 when none is selected
    int operatorIndex = 1;
    QString value; // the value box's text as typed
};

// The value in single quotes, with "*" before the closing quote from the fifth field on,
// cut to the part length. A quote inside the value is doubled, so the store reads it as
// part of the value.
QString valuePart(const QString& value, int position);

// The parts joined by single spaces and trimmed: condition 1, and when a connector is
// chosen, its word and condition 2.
QString expression(const Condition& first, int connectorIndex, const Condition& second);

// "Filter an": the expression becomes the table's filter and filtering is switched on. An
// expression the store refuses is a QuillonError and leaves filter and cursor unchanged.
void switchOn(Table& table, const QString& expression);
// "Filter aus": filtering off and the filter text empty.
void switchOff(Table& table);

} // namespace FilterBuilder
