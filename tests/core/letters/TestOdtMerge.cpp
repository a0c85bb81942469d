#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "letters/MergeData.h"
#include "letters/OdtMerge.h"
#include "letters/OdtPackage.h"
#include "letters/XmlTree.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kContentStart =
    R"(<?xml version="1.0" encoding="UTF-8"?><office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.3"><office:automatic-styles><style:style style:name="P1" style:family="paragraph"><style:text-properties fo:font-weight="bold"/></style:style><style:style style:name="QuillonPage1" style:family="paragraph"/></office:automatic-styles><office:body><office:text><text:sequence-decls/>)";
const QByteArray kContentEnd = "</office:text></office:body></office:document-content>";

void writeOdt(const QString& path, const QByteArray& body,
              const QByteArray& mimetype = OdtPackage::textMimeType()) {
    OdtPackage package;
    package.setEntry(QStringLiteral("mimetype"), mimetype);
    package.setEntry(QStringLiteral("content.xml"), kContentStart + body + kContentEnd);
    package.setEntry(QStringLiteral("styles.xml"), "<office:document-styles/>");
    package.write(path);
}

MergeData data(const QStringList& names, const std::vector<QStringList>& records) {
    MergeData d;
    d.fieldNames = names;
    d.records = records;
    return d;
}

// The body of a merged document as lines: "P text" per paragraph (line breaks as "/", tabs
// as "\t", each space element as "_"),
// "T name style" per table, "C" per cell, "break" where a new page starts.
QStringList outline(const QString& path) {
    XmlNode content = XmlTree::parse(OdtPackage::read(path).entry(QStringLiteral("content.xml")),
                                     QStringLiteral("content"));
    QSet<QString> breakStyles;
    for (const XmlNode& style : content.child(u"office:automatic-styles")->children)
        for (const XmlNode& props : style.children)
            if (props.attribute(QStringLiteral("fo:break-before")) == u"page")
                breakStyles.insert(style.attribute(QStringLiteral("style:name")));
    QStringList lines;
    std::function<QString(const XmlNode&)> text = [&](const XmlNode& n) {
        if (n.isText())
            return n.text;
        if (n.is(u"text:line-break"))
            return QStringLiteral("/");
        if (n.is(u"text:tab"))
            return QStringLiteral("\\t");
        if (n.is(u"text:s"))
            return QString(std::max(1, n.attribute(QStringLiteral("text:c")).toInt()), u'_');
        QString t;
        for (const XmlNode& c : n.children)
            t += text(c);
        return t;
    };
    std::function<void(const XmlNode&)> walk = [&](const XmlNode& n) {
        for (const XmlNode& c : n.children) {
            if (c.isText())
                continue;
            const QString style =
                c.attribute(c.is(u"table:table") ? QStringLiteral("table:style-name")
                                                 : QStringLiteral("text:style-name"));
            if (breakStyles.contains(style))
                lines.append(QStringLiteral("break"));
            if (c.is(u"text:p")) {
                lines.append(QStringLiteral("P ") + text(c));
            } else if (c.is(u"table:table")) {
                lines.append(QStringLiteral("T ") + c.attribute(QStringLiteral("table:name")));
                walk(c);
            } else if (c.is(u"table:table-cell")) {
                lines.append(QStringLiteral("C"));
                walk(c);
            } else {
                walk(c);
            }
        }
    };
    walk(*content.child(u"office:body")->child(u"office:text"));
    return lines;
}

const QStringList kFields = {"Anrede", "Name", "Vorname", "Ansprechpartner",
                             "Str",    "PLZ",  "Ort",     "Land"};

} // namespace

class TestOdtMerge : public QObject {
    Q_OBJECT
private slots:
    void fieldsAcrossSpansCaseAndValues() {
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("own.odt"));
        writeOdt(
            doc,
            R"(<text:p text:style-name="P1">«NA<text:span>ME</text:span>», <text:span>«</text:span>vorname»! «Unbekannt»</text:p>)"
            R"(<text:p>Adresse: «Str»</text:p>)"
            R"(<text:p><text:span>«Ort»</text:span> </text:p>)"
            R"(<text:p></text:p>)");
        QCOMPARE(OdtMerge::fieldNames(doc),
                 (QStringList{"NAME", "vorname", "Unbekannt", "Str", "Ort"}));
        const QString out = dir.filePath(QStringLiteral("out.odt"));
        const OdtMerge::Result result = OdtMerge::merge(
            doc,
            data({"Name", "Vorname", "Str", "Ort"},
                 {{"Müller & <Söhne>", "Eva   Maria\tB.", "Weg 1\r\nHinterhaus", ""},
                  {"Zweiter", "", "", "Bonn"}}),
            out);
        QCOMPARE(result.layout, OdtMerge::Layout::Letter);
        QCOMPARE(result.pages, 2);
        // Unknown fields stay; a paragraph emptied by its fields goes, an empty one of the
        // document itself stays.
        QCOMPARE(outline(out),
                 (QStringList{"P Müller & <Söhne>, Eva __Maria\\tB.! «Unbekannt»",
                              "P Adresse: Weg 1/Hinterhaus", "P ", "break",
                              "P Zweiter, ! «Unbekannt»", "P Adresse: ", "P Bonn ", "P "}));
        // The document itself is only read.
        QCOMPARE(OdtMerge::fieldNames(doc).size(), 5);
    }

    void emptyLinesBetweenLineBreaksAndLetterTables() {
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("own.odt"));
        // A table whose cells hold different fields lays out a letter, it is no label sheet.
        writeOdt(
            doc,
            R"(<table:table table:name="Kopf"><table:table-row>)"
            R"(<table:table-cell><text:p>«Name»<text:line-break/>«Zusatz»<text:line-break/><text:span>«Str»</text:span><text:line-break/>Fest</text:p></table:table-cell>)"
            R"(<table:table-cell><text:p>Nr. «ID»</text:p></table:table-cell>)"
            R"(</table:table-row></table:table>)"
            R"(<text:p>«Name»<text:line-break/>«Zusatz»</text:p>)");
        const QString out = dir.filePath(QStringLiteral("out.odt"));
        const OdtMerge::Result result = OdtMerge::merge(
            doc, data({"Name", "Zusatz", "Str", "ID"}, {{"Meier", "", "Weg 1", "7"}}), out);
        QCOMPARE(result.layout, OdtMerge::Layout::Letter);
        QCOMPARE(outline(out),
                 (QStringList{"T Kopf", "C", "P Meier/Weg 1/Fest", "C", "P Nr. 7", "P Meier"}));
    }

    void pageBreakBeforeAList() {
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("own.odt"));
        writeOdt(
            doc,
            R"(<text:list><text:list-item><text:p>«Name»</text:p></text:list-item></text:list>)");
        const QString out = dir.filePath(QStringLiteral("out.odt"));
        OdtMerge::merge(doc, data({"Name"}, {{"A"}, {"B"}}), out);
        // A list carries no break of its own: an empty paragraph in front of it does, with a
        // style name the document does not use yet.
        QCOMPARE(outline(out), (QStringList{"P A", "break", "P ", "P B"}));
        const QByteArray content = OdtPackage::read(out).entry(QStringLiteral("content.xml"));
        QCOMPARE(content.count("style:name=\"QuillonPage1\""), 1);
        QVERIFY(content.contains("<text:p text:style-name=\"QuillonPage2\"/>"));
    }

    void shippedLetterOnePagePerRecord() {
        TestInstallation installation;
        const QString doc =
            installation.lettersDir() + QStringLiteral("Brief-Vorlage DIN 5008.odt");
        const QString out = OdtMerge::outputPathFor(doc, installation.lettersDir());
        QCOMPARE(out, installation.lettersDir() +
                          QStringLiteral("Brief-Vorlage DIN 5008-Serienbrief.odt"));
        QStringList first = {
            "Sehr geehrter Herr", "Meier", "Hans", "", "Weg 1", "12345", "Berlin", ""};
        QStringList second = {"Sehr geehrte Frau", "Adler", "",     "Einkauf",
                              "Platz 2",           "50667", "Köln", "DE"};
        MergeData d = data(kFields, {first, second});
        d.fieldNames.append(QStringLiteral("Betreff"));
        d.records[0].append(QStringLiteral("Ihre Anfrage"));
        d.records[1].append(QString());
        OdtMerge::merge(doc, d, out);
        const QStringList lines = outline(out);
        const QString sender = QStringLiteral("P Ihr Name · Ihre Straße 1 · 12345 Ihr Ort");
        const QString text =
            lines.at(lines.indexOf(QStringLiteral("P Mit freundlichen Grüßen")) - 1);
        QCOMPARE(lines, (QStringList{"T Anschriftfeld",
                                     "C",
                                     sender,
                                     "P Hans Meier",
                                     "P Weg 1",
                                     "P 12345 Berlin",
                                     "P Ihr Ort, 01.01.2001",
                                     "P Ihre Anfrage",
                                     "P Sehr geehrter Herr Meier,",
                                     text,
                                     "P Mit freundlichen Grüßen",
                                     "P Ihr Name",
                                     "break",
                                     "T Anschriftfeld_2",
                                     "C",
                                     sender,
                                     "P  Adler",
                                     "P Einkauf",
                                     "P Platz 2",
                                     "P 50667 Köln",
                                     "P DE",
                                     "P Ihr Ort, 01.01.2001",
                                     "P Sehr geehrte Frau Adler,",
                                     text,
                                     "P Mit freundlichen Grüßen",
                                     "P Ihr Name"}));
        // A valid package: mimetype first and stored, the other parts carried over.
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(80);
        QCOMPARE(head.mid(8, 2), QByteArray("\0\0", 2));
        QCOMPARE(head.mid(30, 8), QByteArray("mimetype"));
        QCOMPARE(head.mid(38, 39), OdtPackage::textMimeType());
        const OdtPackage package = OdtPackage::read(out);
        QVERIFY(package.contains(QStringLiteral("styles.xml")));
        QVERIFY(package.contains(QStringLiteral("META-INF/manifest.xml")));
    }

    void shippedLabelSheetFillsCellsInReadingOrder() {
        TestInstallation installation;
        const QString doc =
            installation.lettersDir() + QStringLiteral("Adress-Etikett 3x8 70x36.odt");
        std::vector<QStringList> records;
        for (int i = 1; i <= 26; ++i)
            records.push_back({"", QStringLiteral("Name%1").arg(i), "", "", "", "", "", ""});
        const QString out = installation.lettersDir() + QStringLiteral("etiketten.odt");
        const OdtMerge::Result result = OdtMerge::merge(doc, data(kFields, records), out);
        QCOMPARE(result.layout, OdtMerge::Layout::LabelSheet);
        QCOMPARE(result.pages, 2);
        const QStringList lines = outline(out);
        QStringList expected = {"T Etiketten"};
        for (int i = 1; i <= 48; ++i) {
            if (i == 25)
                expected << "break"
                         << "T Etiketten_2";
            // Cells beyond the last record keep one empty paragraph.
            expected << "C"
                     << (i <= 26 ? QStringLiteral("P  Name%1").arg(i) : QStringLiteral("P "));
        }
        expected << "P ";
        QCOMPARE(lines, expected);
    }

    void firstCellOnlyRepeatsOverTheSheet() {
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("labels.odt"));
        writeOdt(
            doc,
            R"(<text:p>Kopf</text:p><table:table table:name="L"><table:table-column table:number-columns-repeated="2"/>)"
            R"(<table:table-row><table:table-cell><text:p>«Name»</text:p></table:table-cell><table:table-cell/></table:table-row>)"
            R"(<table:table-row table:number-rows-repeated="2"><table:table-cell table:number-columns-repeated="2"><text:p/></table:table-cell></table:table-row>)"
            R"(</table:table>)");
        const QString out = dir.filePath(QStringLiteral("out.odt"));
        OdtMerge::merge(doc, data({"Name"}, {{"A"}, {"B"}, {"C"}, {"D"}, {"E"}, {"F"}, {"G"}}),
                        out);
        QCOMPARE(outline(out),
                 (QStringList{"P Kopf", "T L", "C", "P A", "C",     "P B",   "C", "P C", "C", "P D",
                              "C",      "P E", "C", "P F", "break", "T L_2", "C", "P G", "C", "P ",
                              "C",      "P ",  "C", "P ",  "C",     "P ",    "C", "P "}));
    }

    void badDocumentsAreRefused_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::newRow("no zip") << QByteArray("text");
        QTest::newRow("spreadsheet mimetype") << QByteArray("mimetype");
        QTest::newRow("broken content.xml") << QByteArray("xml");
        QTest::newRow("no merge field") << QByteArray("nofield");
    }
    void badDocumentsAreRefused() {
        QFETCH(QByteArray, kind);
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("bad.odt"));
        if (kind == "text") {
            QFile file(doc);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("kein Archiv");
        } else if (kind == "mimetype") {
            writeOdt(doc, "<text:p>«Name»</text:p>",
                     "application/vnd.oasis.opendocument.spreadsheet");
        } else if (kind == "xml") {
            writeOdt(doc, "<text:p>«Name»</text:span>");
        } else {
            writeOdt(doc, "<text:p>Ohne Felder</text:p>");
        }
        const QString out = dir.filePath(QStringLiteral("out.odt"));
        try {
            OdtMerge::merge(doc, data({"Name"}, {{"A"}}), out);
            QFAIL("merged");
        } catch (const QuillonError& error) {
            QVERIFY2(error.message().contains(kind == "nofield"
                                                  ? QStringLiteral("keine Seriendruckfelder")
                                                  : QStringLiteral("kein gültiges OpenDocument")),
                     qPrintable(error.message()));
        }
        QVERIFY(!QFileInfo::exists(out));
    }
};

QTEST_GUILESS_MAIN(TestOdtMerge)
#include "TestOdtMerge.moc"
