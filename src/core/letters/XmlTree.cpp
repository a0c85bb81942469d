#include "XmlTree.h"

#include "foundations/QuillonError.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

QString XmlNode::attribute(const QString& qualifiedName) const {
    for (const auto& [key, value] : attributes)
        if (key == qualifiedName)
            return value;
    return {};
}

void XmlNode::setAttribute(const QString& qualifiedName, const QString& value) {
    for (auto& [key, old] : attributes)
        if (key == qualifiedName) {
            old = value;
            return;
        }
    attributes.append({qualifiedName, value});
}

void XmlNode::removeAttribute(const QString& qualifiedName) {
    attributes.removeIf([&](const auto& a) { return a.first == qualifiedName; });
}

XmlNode* XmlNode::child(QStringView qualifiedName) {
    for (XmlNode& c : children)
        if (c.name == qualifiedName)
            return &c;
    return nullptr;
}

XmlNode& XmlNode::appendChild(XmlNode node) {
    children.push_back(std::move(node));
    return children.back();
}

namespace XmlTree {

XmlNode parse(const QByteArray& xml, const QString& source) {
    QXmlStreamReader reader(xml);
    XmlNode root;
    std::vector<XmlNode*> open;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            XmlNode node = XmlNode::element(reader.qualifiedName().toString());
            for (const QXmlStreamNamespaceDeclaration& ns : reader.namespaceDeclarations())
                node.attributes.append({ns.prefix().isEmpty()
                                            ? QStringLiteral("xmlns")
                                            : QStringLiteral("xmlns:") + ns.prefix().toString(),
                                        ns.namespaceUri().toString()});
            for (const QXmlStreamAttribute& a : reader.attributes())
                node.attributes.append({a.qualifiedName().toString(), a.value().toString()});
            if (open.empty()) {
                root = std::move(node);
                haveRoot = true;
                open.push_back(&root);
            } else {
                open.push_back(&open.back()->appendChild(std::move(node)));
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty()) {
                std::vector<XmlNode>& siblings = open.back()->children;
                if (!siblings.empty() && siblings.back().isText())
                    siblings.back().text += reader.text();
                else
                    siblings.push_back(XmlNode::textNode(reader.text().toString()));
            }
            break;
        case QXmlStreamReader::DTD:
            // Documents of a word processor never carry one; refusing it rules out entities.
            throw QuillonError(
                QStringLiteral("„%1“ enthält eine Dokumenttyp-Definition.").arg(source));
        default:
            break;
        }
    }
    if (reader.hasError() || !haveRoot)
        throw QuillonError(QStringLiteral("„%1“ ist kein gültiges XML (Zeile %2: %3).")
                               .arg(source)
                               .arg(reader.lineNumber())
                               .arg(reader.errorString()));
    return root;
}

namespace {

void writeNode(QXmlStreamWriter& writer, const XmlNode& node) {
    if (node.isText()) {
        writer.writeCharacters(node.text);
        return;
    }
    if (node.children.empty())
        writer.writeEmptyElement(node.name);
    else
        writer.writeStartElement(node.name);
    for (const auto& [key, value] : node.attributes)
        writer.writeAttribute(key, value);
    if (node.children.empty())
        return;
    for (const XmlNode& child : node.children)
        writeNode(writer, child);
    writer.writeEndElement();
}

} // namespace

QByteArray write(const XmlNode& root) {
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(false);
    writer.writeStartDocument();
    writeNode(writer, root);
    writer.writeEndDocument();
    return bytes;
}

} // namespace XmlTree
