#include "OdtMerge.h"

#include "MergeData.h"
#include "OdtPackage.h"
#include "XmlTree.h"
#include "foundations/QuillonError.h"
#include "foundations/TextHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <functional>
#include <utility>

namespace OdtMerge {

namespace {

constexpr QChar kOpen = QChar(0x00AB);
constexpr QChar kClose = QChar(0x00BB);
// Stand for a line break, a tab and a repeated space inside a value until the text nodes
// are split at them.
constexpr QChar kBreak = QChar(0x2028);
constexpr QChar kTab = QChar(0xE001);
constexpr QChar kSpace = QChar(0xE002);
constexpr int kMaxFieldName = 64;

struct FieldMatch {
    qsizetype start;
    qsizetype end; // past the closing guillemet
    QString name;
};

// Every «Name» in a text, without nesting and with a name of sensible length.
std::vector<FieldMatch> findFields(const QString& text) {
    std::vector<FieldMatch> matches;
    qsizetype from = 0;
    while ((from = text.indexOf(kOpen, from)) >= 0) {
        const qsizetype close = text.indexOf(kClose, from + 1);
        if (close < 0)
            break;
        const qsizetype reopened = text.indexOf(kOpen, from + 1);
        if (reopened >= 0 && reopened < close) {
            from = reopened;
            continue;
        }
        const QString name = text.mid(from + 1, close - from - 1);
        if (!Trim(name).isEmpty() && name.size() <= kMaxFieldName)
            matches.push_back({from, close + 1, Trim(name)});
        from = close + 1;
    }
    return matches;
}

bool isParagraph(const XmlNode& node) {
    return node.is(u"text:p") || node.is(u"text:h");
}

// Elements whose text belongs to the paragraph around them.
bool isInline(const XmlNode& node) {
    return node.is(u"text:span") || node.is(u"text:a") || node.is(u"text:meta") ||
           node.is(u"text:ruby") || node.is(u"text:ruby-base");
}

void collectTexts(XmlNode& node, std::vector<XmlNode*>& texts) {
    for (XmlNode& child : node.children) {
        if (child.isText())
            texts.push_back(&child);
        else if (isInline(child))
            collectTexts(child, texts);
    }
}

QString flatText(XmlNode& paragraph) {
    std::vector<XmlNode*> texts;
    collectTexts(paragraph, texts);
    QString text;
    for (const XmlNode* t : texts)
        text += t->text;
    return text;
}

bool holdsObject(const XmlNode& node) {
    for (const XmlNode& child : node.children) {
        if (child.isText())
            continue;
        if (child.name.startsWith(u"draw:") || child.name.startsWith(u"table:") ||
            child.name.startsWith(u"office:") || child.is(u"text:note") || holdsObject(child))
            return true;
    }
    return false;
}

// Counts the fields of a subtree: paragraphs anywhere, frames and cells included.
int countFields(XmlNode& node) {
    int count = 0;
    for (XmlNode& child : node.children) {
        if (child.isText())
            continue;
        if (isParagraph(child))
            count += static_cast<int>(findFields(flatText(child)).size());
        count += countFields(child);
    }
    return count;
}

void collectFieldNames(XmlNode& node, QStringList& names) {
    for (XmlNode& child : node.children) {
        if (child.isText())
            continue;
        if (isParagraph(child))
            for (const FieldMatch& m : findFields(flatText(child)))
                if (!names.contains(m.name, Qt::CaseInsensitive))
                    names.append(m.name);
        collectFieldNames(child, names);
    }
}

// Field name (upper-cased a to z) -> position of its value.
using FieldIndex = QHash<QString, int>;

FieldIndex indexFields(const QStringList& names) {
    FieldIndex index;
    for (int i = 0; i < names.size(); ++i)
        if (!index.contains(AsciiUpper(names[i])))
            index.insert(AsciiUpper(names[i]), i);
    return index;
}

// In OpenDocument text a line break, a tab and every space after the first of a run are
// elements; a value carries them as markers until its text nodes are split.
QString valueText(const QString& value) {
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            text += kBreak;
        } else if (c == u'\t') {
            text += kTab;
        } else if (c == u' ' && i > 0 && value[i - 1] == u' ') {
            text += kSpace;
        } else {
            text += c;
        }
    }
    return text;
}

bool isMarker(QChar c) {
    return c == kBreak || c == kTab || c == kSpace;
}

bool hasMarker(const QString& text) {
    return std::any_of(text.begin(), text.end(), isMarker);
}

// Splits text nodes holding markers into text, line breaks, tabs and spaces.
void expandMarkers(XmlNode& node) {
    bool any = false;
    for (const XmlNode& child : node.children)
        if ((child.isText() && hasMarker(child.text)) || isInline(child))
            any = true;
    if (!any)
        return;
    std::vector<XmlNode> children;
    for (XmlNode& child : node.children) {
        if (!child.isText() || !hasMarker(child.text)) {
            if (isInline(child))
                expandMarkers(child);
            children.push_back(std::move(child));
            continue;
        }
        const QString& text = child.text;
        QString plain;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isMarker(text[i])) {
                plain += text[i];
                continue;
            }
            if (!plain.isEmpty())
                children.push_back(XmlNode::textNode(std::exchange(plain, QString())));
            if (text[i] == kBreak) {
                children.push_back(XmlNode::element(QStringLiteral("text:line-break")));
            } else if (text[i] == kTab) {
                children.push_back(XmlNode::element(QStringLiteral("text:tab")));
            } else {
                int run = 1;
                while (i + 1 < text.size() && text[i + 1] == kSpace) {
                    ++run;
                    ++i;
                }
                XmlNode spaces = XmlNode::element(QStringLiteral("text:s"));
                if (run > 1)
                    spaces.setAttribute(QStringLiteral("text:c"), QString::number(run));
                children.push_back(std::move(spaces));
            }
        }
        if (!plain.isEmpty())
            children.push_back(XmlNode::textNode(plain));
    }
    node.children = std::move(children);
}

// The lines of a paragraph written with line breaks: ranges of its children between them.
std::vector<std::pair<size_t, size_t>> lineRanges(const XmlNode& paragraph) {
    std::vector<std::pair<size_t, size_t>> ranges;
    size_t from = 0;
    for (size_t i = 0; i < paragraph.children.size(); ++i)
        if (paragraph.children[i].is(u"text:line-break")) {
            ranges.push_back({from, i});
            from = i + 1;
        }
    ranges.push_back({from, paragraph.children.size()});
    return ranges;
}

QString rangeText(XmlNode& paragraph, std::pair<size_t, size_t> range) {
    QString text;
    for (size_t i = range.first; i < range.second; ++i) {
        XmlNode& child = paragraph.children[i];
        if (child.isText())
            text += child.text;
        else if (isInline(child))
            text += flatText(child);
    }
    return text;
}

bool rangeHoldsObject(const XmlNode& paragraph, std::pair<size_t, size_t> range) {
    XmlNode part;
    for (size_t i = range.first; i < range.second; ++i)
        part.children.push_back(paragraph.children[i]);
    return holdsObject(part);
}

// Drops the lines that held fields and are empty now, each with one of its line breaks.
void dropEmptyLines(XmlNode& paragraph, const std::vector<bool>& hadField) {
    const auto ranges = lineRanges(paragraph);
    if (ranges.size() < 2 || ranges.size() != hadField.size())
        return;
    std::vector<bool> drop(paragraph.children.size(), false);
    size_t kept = 0;
    for (size_t k = 0; k < ranges.size(); ++k) {
        if (!hadField[k] || !Trim(rangeText(paragraph, ranges[k])).isEmpty() ||
            rangeHoldsObject(paragraph, ranges[k])) {
            ++kept;
            continue;
        }
        for (size_t i = ranges[k].first; i < ranges[k].second; ++i)
            drop[i] = true;
        // The break after the line, or before it for the last line.
        if (k + 1 < ranges.size())
            drop[ranges[k].second] = true;
        else if (ranges[k].first > 0)
            drop[ranges[k].first - 1] = true;
    }
    if (kept == 0)
        return; // the paragraph as a whole goes
    std::vector<XmlNode> children;
    for (size_t i = 0; i < paragraph.children.size(); ++i)
        if (!drop[i])
            children.push_back(std::move(paragraph.children[i]));
    paragraph.children = std::move(children);
}

struct Record {
    const FieldIndex& index;
    const QStringList* values; // none: every field becomes empty
};

void mergeContainer(XmlNode& node, const Record& record);

// Replaces the fields of one paragraph; true when it held a known field.
bool mergeParagraph(XmlNode& paragraph, const Record& record) {
    std::vector<XmlNode*> texts;
    collectTexts(paragraph, texts);
    std::vector<qsizetype> starts;
    QString flat;
    for (const XmlNode* t : texts) {
        starts.push_back(flat.size());
        flat += t->text;
    }
    const std::vector<FieldMatch> matches = findFields(flat);
    std::vector<bool> lineHadField;
    for (const auto& range : lineRanges(paragraph))
        lineHadField.push_back(!findFields(rangeText(paragraph, range)).empty());
    bool replaced = false;
    const auto nodeAt = [&](qsizetype position) {
        const auto it = std::upper_bound(starts.begin(), starts.end(), position);
        return static_cast<size_t>(it - starts.begin()) - 1;
    };
    for (auto m = matches.rbegin(); m != matches.rend(); ++m) {
        const auto field = record.index.constFind(AsciiUpper(m->name));
        if (field == record.index.constEnd())
            continue;
        const QString value =
            record.values ? valueText(record.values->value(field.value())) : QString();
        const size_t first = nodeAt(m->start);
        const size_t last = nodeAt(m->end - 1);
        XmlNode& head = *texts[first];
        const qsizetype offset = m->start - starts[first];
        if (first == last) {
            head.text.replace(offset, m->end - m->start, value);
        } else {
            head.text = head.text.left(offset) + value;
            for (size_t i = first + 1; i < last; ++i)
                texts[i]->text.clear();
            XmlNode& tail = *texts[last];
            tail.text = tail.text.mid(m->end - starts[last]);
        }
        replaced = true;
    }
    if (replaced) {
        dropEmptyLines(paragraph, lineHadField);
        expandMarkers(paragraph);
    }
    // Frames and other objects inside the paragraph have paragraphs of their own.
    std::function<void(XmlNode&)> objects = [&](XmlNode& node) {
        for (XmlNode& child : node.children) {
            if (child.isText())
                continue;
            if (isInline(child))
                objects(child);
            else
                mergeContainer(child, record);
        }
    };
    objects(paragraph);
    return replaced;
}

void mergeContainer(XmlNode& node, const Record& record) {
    std::vector<XmlNode> kept;
    kept.reserve(node.children.size());
    const XmlNode* dropped = nullptr;
    XmlNode firstDropped;
    for (XmlNode& child : node.children) {
        if (!child.isText()) {
            child.removeAttribute(QStringLiteral("xml:id"));
            if (child.is(u"text:soft-page-break"))
                continue;
            if (isParagraph(child)) {
                if (mergeParagraph(child, record) && Trim(flatText(child)).isEmpty() &&
                    !holdsObject(child)) {
                    if (!dropped) {
                        firstDropped = XmlNode::element(child.name);
                        firstDropped.attributes = child.attributes;
                        dropped = &firstDropped;
                    }
                    continue;
                }
            } else {
                mergeContainer(child, record);
            }
        }
        kept.push_back(std::move(child));
    }
    // A table cell keeps one paragraph, or word processors show it broken.
    if (dropped && node.is(u"table:table-cell") &&
        std::none_of(kept.begin(), kept.end(), [](const XmlNode& n) { return !n.isText(); }))
        kept.push_back(firstDropped);
    node.children = std::move(kept);
}

// ---- page breaks ----------------------------------------------------------------------

XmlNode* firstElement(std::vector<XmlNode>& nodes) {
    for (XmlNode& n : nodes)
        if (!n.isText())
            return &n;
    return nullptr;
}

class BreakStyles {
public:
    explicit BreakStyles(XmlNode& automaticStyles) : m_styles(automaticStyles) {}

    // Makes the element start a new page through a copy of its style with a break before;
    // false for an element that cannot carry one.
    bool breakBefore(XmlNode& element) {
        QString family, attribute, properties;
        if (isParagraph(element)) {
            family = QStringLiteral("paragraph");
            attribute = QStringLiteral("text:style-name");
            properties = QStringLiteral("style:paragraph-properties");
        } else if (element.is(u"table:table")) {
            family = QStringLiteral("table");
            attribute = QStringLiteral("table:style-name");
            properties = QStringLiteral("style:table-properties");
        } else {
            return false;
        }
        const QString original = element.attribute(attribute);
        const QString key = family + u'\n' + original;
        auto it = m_made.constFind(key);
        if (it == m_made.constEnd()) {
            QString name;
            do
                name = QStringLiteral("QuillonPage%1").arg(++m_counter);
            while (styleNamed(name));
            XmlNode style = XmlNode::element(QStringLiteral("style:style"));
            bool copied = false;
            for (const XmlNode& existing : m_styles.children)
                if (existing.is(u"style:style") &&
                    existing.attribute(QStringLiteral("style:name")) == original &&
                    existing.attribute(QStringLiteral("style:family")) == family) {
                    style = existing;
                    copied = true;
                    break;
                }
            style.setAttribute(QStringLiteral("style:name"), name);
            style.setAttribute(QStringLiteral("style:family"), family);
            if (!copied && !original.isEmpty())
                style.setAttribute(QStringLiteral("style:parent-style-name"), original);
            XmlNode* props = style.child(properties);
            if (!props) {
                style.children.insert(style.children.begin(), XmlNode::element(properties));
                props = &style.children.front();
            }
            props->setAttribute(QStringLiteral("fo:break-before"), QStringLiteral("page"));
            m_styles.appendChild(std::move(style));
            it = m_made.insert(key, name);
        }
        element.setAttribute(attribute, *it);
        return true;
    }

    // Starts a new page before the nodes: through their first element, or, when that is a
    // list or a section, through an empty paragraph in front of it.
    void breakBefore(std::vector<XmlNode>& nodes) {
        XmlNode* first = firstElement(nodes);
        if (first && breakBefore(*first))
            return;
        XmlNode paragraph = XmlNode::element(QStringLiteral("text:p"));
        breakBefore(paragraph);
        nodes.insert(nodes.begin(), std::move(paragraph));
    }

private:
    bool styleNamed(const QString& name) const {
        return std::any_of(
            m_styles.children.begin(), m_styles.children.end(),
            [&](const XmlNode& n) { return n.attribute(QStringLiteral("style:name")) == name; });
    }

    int m_counter = 0;
    XmlNode& m_styles;
    QHash<QString, QString> m_made;
};

// Word processors expect every table name once.
void renameTables(XmlNode& node, int copy) {
    for (XmlNode& child : node.children) {
        if (child.is(u"table:table") && !child.attribute(QStringLiteral("table:name")).isEmpty())
            child.setAttribute(QStringLiteral("table:name"),
                               QStringLiteral("%1_%2")
                                   .arg(child.attribute(QStringLiteral("table:name")))
                                   .arg(copy));
        if (!child.isText())
            renameTables(child, copy);
    }
}

// ---- label sheets -----------------------------------------------------------------------

// Writes repeated rows and cells out, so that every label has a cell of its own.
void expandRepeats(XmlNode& node) {
    std::vector<XmlNode> children;
    for (XmlNode& child : node.children) {
        // A nested table keeps its own layout.
        if (!child.isText() && !child.is(u"table:table"))
            expandRepeats(child);
        const QString attribute =
            child.is(u"table:table-row")    ? QStringLiteral("table:number-rows-repeated")
            : child.is(u"table:table-cell") ? QStringLiteral("table:number-columns-repeated")
                                            : QString();
        const int repeat = attribute.isEmpty() ? 1 : child.attribute(attribute).toInt();
        if (repeat > 1 && repeat <= 1000) {
            child.removeAttribute(attribute);
            for (int i = 1; i < repeat; ++i)
                children.push_back(child);
        }
        children.push_back(std::move(child));
    }
    node.children = std::move(children);
}

QString flatTextOfCell(XmlNode& cell) {
    QString text;
    for (XmlNode& child : cell.children)
        if (isParagraph(child))
            text += flatText(child);
    return text;
}

void collectCells(XmlNode& node, std::vector<XmlNode*>& cells) {
    for (XmlNode& child : node.children) {
        if (child.is(u"table:table-cell"))
            cells.push_back(&child);
        else if (!child.isText() && !child.is(u"table:table"))
            collectCells(child, cells);
    }
}

QStringList cellFieldNames(const XmlNode& cell) {
    XmlNode wrapped;
    wrapped.children.push_back(cell);
    QStringList names;
    collectFieldNames(wrapped, names);
    for (QString& name : names)
        name = AsciiUpper(name);
    names.sort();
    return names;
}

// A table is a label sheet when several cells hold the same fields, or when one cell holds
// fields and every other cell is empty (the labels still to be copied). Any other table
// with fields is part of a letter's layout.
bool isLabelSheet(const XmlNode& table) {
    XmlNode sheet = table;
    expandRepeats(sheet);
    std::vector<XmlNode*> cells;
    collectCells(sheet, cells);
    if (cells.size() < 2)
        return false;
    std::vector<QStringList> names;
    int withFields = 0;
    for (XmlNode* cell : cells) {
        names.push_back(cellFieldNames(*cell));
        if (!names.back().isEmpty())
            ++withFields;
    }
    if (withFields == 1) {
        for (size_t i = 0; i < cells.size(); ++i)
            if (names[i].isEmpty() &&
                (!Trim(flatTextOfCell(*cells[i])).isEmpty() || holdsObject(*cells[i])))
                return false;
        return true;
    }
    const QStringList* first = nullptr;
    for (const QStringList& n : names) {
        if (n.isEmpty())
            continue;
        if (first && n != *first)
            return false;
        first = &n;
    }
    return true;
}

bool isDeclaration(const XmlNode& node) {
    static const QStringList names = {QStringLiteral("text:variable-decls"),
                                      QStringLiteral("text:sequence-decls"),
                                      QStringLiteral("text:user-field-decls"),
                                      QStringLiteral("text:dde-connection-decls"),
                                      QStringLiteral("text:alphabetical-index-auto-mark-file"),
                                      QStringLiteral("office:forms"),
                                      QStringLiteral("text:tracked-changes"),
                                      QStringLiteral("table:calculation-settings"),
                                      QStringLiteral("table:content-validations"),
                                      QStringLiteral("table:label-ranges"),
                                      QStringLiteral("table:named-expressions"),
                                      QStringLiteral("table:database-ranges"),
                                      QStringLiteral("table:data-pilot-tables"),
                                      QStringLiteral("table:consolidation"),
                                      QStringLiteral("table:dde-links")};
    return names.contains(node.name);
}

} // namespace

Result mergeContent(XmlNode& content, const MergeData& data) {
    XmlNode* body = content.child(u"office:body");
    XmlNode* text = body ? body->child(u"office:text") : nullptr;
    if (!text)
        throw QuillonError(QStringLiteral("Das Dokument ist kein Textdokument."));
    if (!content.child(u"office:automatic-styles")) {
        auto at = std::find_if(content.children.begin(), content.children.end(),
                               [](const XmlNode& n) { return n.is(u"office:body"); });
        content.children.insert(at, XmlNode::element(QStringLiteral("office:automatic-styles")));
        body = content.child(u"office:body");
        text = body->child(u"office:text");
    }
    XmlNode& automaticStyles = *content.child(u"office:automatic-styles");

    // Declarations stay once at the start, and only the content between them repeats.
    std::vector<XmlNode> prelude, middle, postlude;
    for (XmlNode& child : text->children) {
        if (!child.isText() && isDeclaration(child))
            (middle.empty() ? prelude : postlude).push_back(std::move(child));
        else if (!child.isText())
            middle.push_back(std::move(child));
    }

    const FieldIndex index = indexFields(data.fieldNames);
    BreakStyles breaks(automaticStyles);
    Result result;
    result.records = static_cast<int>(data.records.size());

    XmlNode holder;
    holder.children = middle;
    const int allFields = countFields(holder);
    int labelTable = -1;
    for (size_t i = 0; i < middle.size() && labelTable < 0; ++i) {
        if (!middle[i].is(u"table:table"))
            continue;
        XmlNode wrapped;
        wrapped.children.push_back(middle[i]);
        if (countFields(wrapped) > 0 && countFields(wrapped) == allFields &&
            isLabelSheet(middle[i]))
            labelTable = static_cast<int>(i);
    }

    std::vector<XmlNode> merged;
    if (labelTable < 0) {
        for (const QStringList& values : data.records) {
            XmlNode copy;
            copy.children = middle;
            mergeContainer(copy, Record{index, &values});
            if (result.pages > 0) {
                renameTables(copy, result.pages + 1);
                breaks.breakBefore(copy.children);
            }
            for (XmlNode& n : copy.children)
                merged.push_back(std::move(n));
            ++result.pages;
        }
    } else {
        result.layout = Layout::LabelSheet;
        XmlNode sheet = middle[static_cast<size_t>(labelTable)];
        expandRepeats(sheet);
        std::vector<XmlNode*> cells;
        collectCells(sheet, cells);
        std::vector<size_t> labelCells;
        for (size_t i = 0; i < cells.size(); ++i) {
            XmlNode wrapped;
            wrapped.children.push_back(*cells[i]);
            if (countFields(wrapped) > 0)
                labelCells.push_back(i);
        }
        // A sheet with the fields in its first cell only: every cell is a label like it.
        std::vector<std::vector<XmlNode>> patterns(cells.size());
        for (size_t i = 0; i < cells.size(); ++i)
            patterns[i] = cells[labelCells.size() == 1 ? labelCells.front() : i]->children;
        if (labelCells.size() == 1) {
            labelCells.clear();
            for (size_t i = 0; i < cells.size(); ++i)
                labelCells.push_back(i);
        }
        const QString tableName = sheet.attribute(QStringLiteral("table:name"));
        for (size_t record = 0; record < data.records.size() || result.pages == 0;) {
            XmlNode page = sheet;
            std::vector<XmlNode*> pageCells;
            collectCells(page, pageCells);
            for (size_t cell : labelCells) {
                XmlNode& target = *pageCells[cell];
                target.children = patterns[cell];
                const QStringList* values =
                    record < data.records.size() ? &data.records[record] : nullptr;
                mergeContainer(target, Record{index, values});
                ++record;
            }
            if (!tableName.isEmpty())
                page.setAttribute(QStringLiteral("table:name"),
                                  result.pages == 0 ? tableName
                                                    : QStringLiteral("%1_%2").arg(tableName).arg(
                                                          result.pages + 1));
            if (result.pages > 0)
                breaks.breakBefore(page);
            merged.push_back(std::move(page));
            ++result.pages;
        }
        // What stands before and after the sheet appears once.
        std::vector<XmlNode> around;
        for (size_t i = 0; i < middle.size(); ++i) {
            if (static_cast<int>(i) == labelTable)
                for (XmlNode& n : merged)
                    around.push_back(std::move(n));
            else
                around.push_back(std::move(middle[i]));
        }
        merged = std::move(around);
    }

    text->children.clear();
    for (XmlNode& n : prelude)
        text->children.push_back(std::move(n));
    for (XmlNode& n : merged)
        text->children.push_back(std::move(n));
    for (XmlNode& n : postlude)
        text->children.push_back(std::move(n));
    return result;
}

namespace {

XmlNode readContent(const OdtPackage& package, const QString& documentPath) {
    try {
        return XmlTree::parse(package.entry(QStringLiteral("content.xml")),
                              QFileInfo(documentPath).fileName() + QStringLiteral("/content.xml"));
    } catch (const QuillonError&) {
        throw QuillonError(
            QStringLiteral("Das Dokument „%1“ ist kein gültiges OpenDocument-Textdokument.")
                .arg(QDir::toNativeSeparators(documentPath)));
    }
}

} // namespace

QStringList fieldNames(const QString& documentPath) {
    XmlNode content = readContent(OdtPackage::read(documentPath), documentPath);
    QStringList names;
    collectFieldNames(content, names);
    return names;
}

Result merge(const QString& documentPath, const MergeData& data, const QString& outputPath) {
    OdtPackage package = OdtPackage::read(documentPath);
    XmlNode content = readContent(package, documentPath);
    QStringList names;
    collectFieldNames(content, names);
    if (names.isEmpty())
        throw QuillonError(noFieldsMessage(documentPath));
    const Result result = mergeContent(content, data);
    package.setEntry(QStringLiteral("content.xml"), XmlTree::write(content));
    package.write(outputPath);
    return result;
}

QString outputPathFor(const QString& documentPath, const QString& lettersDir) {
    return WithTrailingSeparator(lettersDir) + QFileInfo(documentPath).completeBaseName() +
           QStringLiteral("-Serienbrief.odt");
}

QString noFieldsMessage(const QString& documentPath) {
    return QStringLiteral("Das Dokument „%1“ enthält keine Seriendruckfelder. Ein Feld wird im "
                          "Dokument als «Feldname» geschrieben, zum Beispiel «Name».")
        .arg(QFileInfo(documentPath).fileName());
}

} // namespace OdtMerge
