#include "FilterBuilder.h"

#include "foundations/FilterParser.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"

namespace {

QString entry(const QStringList& entries, int index) {
    return index >= 1 && index <= entries.size() ? entries[index - 1] : QString();
}

const QStringList& operators() {
    static const QStringList texts = {QStringLiteral("="), QStringLiteral("<>"),
                                      QStringLiteral("<"), QStringLiteral(">")};
    return texts;
}

QString part(const QString& text) {
    return text.left(FilterBuilder::kPartLength);
}

} // namespace

namespace FilterBuilder {

QString operatorText(int index) {
    return entry(operators(), index);
}

int nextOperator(int index) {
    return index >= 4 ? 1 : index + 1;
}

QString connectorCaption(int index) {
    static const QStringList captions = {QStringLiteral("keine zweite Bedingung"),
                                         QStringLiteral("und"), QStringLiteral("oder")};
    return entry(captions, index);
}

QString connectorWord(int index) {
    static const QStringList words = {QString(), QStringLiteral("AND"), QStringLiteral("OR")};
    return entry(words, index);
}

int nextConnector(int index) {
    return index >= 3 ? 1 : index + 1;
}

QStringList fieldNames(const QStringList& profileLines) {
    QStringList names;
    for (int i = 1; i < profileLines.size(); ++i)
        names.append(Column(profileLines[i], 1));
    return names;
}

QString valuePart(const QString& value, int position) {
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("''"));
    const QString prefix = position >= kFirstPrefixPosition ? QStringLiteral("*") : QString();
    return part(u'\'' + quoted + prefix + u'\'');
}

QString expression(const Condition& first, int connectorIndex, const Condition& second) {
    QStringList parts = {part(first.field), part(operatorText(first.operatorIndex)),
                         valuePart(first.value, first.position),
                         part(connectorWord(connectorIndex))};
    if (connectorIndex == 2 || connectorIndex == 3)
        parts += {part(second.field), part(operatorText(second.operatorIndex)),
                  valuePart(second.value, second.position)};
    QString joined;
    for (const QString& text : parts)
        joined += text + u' ';
    return Trim(joined);
}

void switchOn(Table& table, const QString& expression) {
    if (table.isOpen())
        FilterParser::compile(expression, table.fields());
    table.setFilter(expression);
    table.setFiltered(true);
}

void switchOff(Table& table) {
    table.setFiltered(false);
    table.setFilter(QString());
}

} // namespace FilterBuilder
