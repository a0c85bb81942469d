#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The pairs salutation term -> formula of Grussformel.txt in the program folder.
namespace Salutations {

constexpr int kRows = 8;

struct Row {
    QString term;
    QString formula;
};

QString filePath(const QString& programDir);

// The formula of the latest line whose key the term begins with (case-sensitive), else the
// term itself. A missing file is a QuillonError.
QString GetGrussformel(const QString& programDir, const QString& term);
// The same lookup over lines already read.
QString lookup(const QStringList& lines, const QString& term);

// The rows the window shows: word 1 and word 2 of the file's first eight lines, as
// extracted; rows beyond the file's end are empty. A missing file is a QuillonError.
QList<Row> readRows(const QString& programDir);
// Writes exactly eight lines "term|formula", both trimmed, replacing the file.
void writeRows(const QString& programDir, const QList<Row>& rows);

// Looks every term up once against lines read once; for writing many records.
class Lookup {
public:
    explicit Lookup(const QString& programDir);
    const QString& formulaFor(const QString& term);

private:
    QList<QPair<QString, QString>> m_pairs;
    QHash<QString, QString> m_known;
};

} // namespace Salutations
