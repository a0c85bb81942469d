#include "Salutations.h"

#include "foundations/FileNames.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"

namespace Salutations {

namespace {

QStringList readFile(const QString& programDir) {
    return TextFile::readLines(filePath(programDir));
}

QString lookupIn(const QList<QPair<QString, QString>>& pairs, const QString& term) {
    QString result = term;
    for (const auto& [key, formula] : pairs)
        if (!key.isEmpty() && term.startsWith(key, Qt::CaseSensitive))
            result = formula;
    return result;
}

QList<QPair<QString, QString>> pairsOf(const QStringList& lines) {
    QList<QPair<QString, QString>> pairs;
    pairs.reserve(lines.size());
    for (const QString& line : lines)
        pairs.append({Trim(ExtractWord(1, line, QStringLiteral("|"))),
                      Trim(ExtractWord(2, line, QStringLiteral("|")))});
    return pairs;
}

} // namespace

QString filePath(const QString& programDir) {
    return FileNames::resolve(programDir + QStringLiteral("Grussformel.txt"));
}

QString GetGrussformel(const QString& programDir, const QString& term) {
    return lookup(readFile(programDir), term);
}

QString lookup(const QStringList& lines, const QString& term) {
    return lookupIn(pairsOf(lines), term);
}

QList<Row> readRows(const QString& programDir) {
    const QStringList lines = readFile(programDir);
    QList<Row> rows;
    for (int i = 0; i < kRows; ++i) {
        const QString line = lines.value(i);
        rows.append(
            {ExtractWord(1, line, QStringLiteral("|")), ExtractWord(2, line, QStringLiteral("|"))});
    }
    return rows;
}

void writeRows(const QString& programDir, const QList<Row>& rows) {
    QStringList lines;
    for (int i = 0; i < kRows; ++i) {
        const Row row = rows.value(i);
        lines.append(Trim(row.term) + u'|' + Trim(row.formula));
    }
    TextFile::writeLines(filePath(programDir), lines);
}

Lookup::Lookup(const QString& programDir) : m_pairs(pairsOf(readFile(programDir))) {}

const QString& Lookup::formulaFor(const QString& term) {
    auto it = m_known.constFind(term);
    if (it == m_known.constEnd())
        it = m_known.insert(term, lookupIn(m_pairs, term));
    return *it;
}

} // namespace Salutations
