#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

// A plain XML tree that keeps every text node, whitespace included: in OpenDocument a
// space between two spans is text the reader sees. Names are kept as written
// ("text:p"); namespace declarations are kept as attributes.
struct XmlNode {
    QString name; // empty for a text node
    QString text;
    QList<QPair<QString, QString>> attributes;
    std::vector<XmlNode> children;

    static XmlNode element(const QString& name) { return XmlNode{name, {}, {}, {}}; }
    static XmlNode textNode(const QString& text) { return XmlNode{{}, text, {}, {}}; }

    bool isText() const { return name.isEmpty(); }
    bool is(QStringView qualifiedName) const { return name == qualifiedName; }
    QString attribute(const QString& qualifiedName) const;
    void setAttribute(const QString& qualifiedName, const QString& value);
    void removeAttribute(const QString& qualifiedName);
    // The first child element of that name, or none.
    XmlNode* child(QStringView qualifiedName);
    XmlNode& appendChild(XmlNode node);
};

namespace XmlTree {

// The document element; text that is not well-formed XML is a QuillonError naming the source.
XmlNode parse(const QByteArray& xml, const QString& source);
QByteArray write(const XmlNode& root);

} // namespace XmlTree
