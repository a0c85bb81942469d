#pragma once

#include <QString>
#include <QStringList>

struct MergeData;
struct XmlNode;

// Serial letters from an OpenDocument text: every «FieldName» (names compared ignoring
// case of a to z) is replaced by the record's value and paragraphs left empty by it are
// dropped. A letter or envelope repeats the document body once per record, each on a new
// page; a label sheet (all fields inside the cells of one table) fills the cells in reading
// order, one label per record, and repeats the sheet as often as needed.
namespace OdtMerge {

enum class Layout { Letter, LabelSheet };

struct Result {
    Layout layout = Layout::Letter;
    int records = 0;
    int pages = 0;
};

// The field names a document uses, in order of appearance; a QuillonError when it is no
// valid OpenDocument text.
QStringList fieldNames(const QString& documentPath);

// Merges the document with the records and writes the result; the document is only read.
Result merge(const QString& documentPath, const MergeData& data, const QString& outputPath);

// The merged document's place: "<name>-Serienbrief.odt" in the letters folder.
QString outputPathFor(const QString& documentPath, const QString& lettersDir);

QString noFieldsMessage(const QString& documentPath);

// The same merge on a parsed content.xml, for callers that hold one.
Result mergeContent(XmlNode& content, const MergeData& data);

} // namespace OdtMerge
