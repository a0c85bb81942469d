// Writes the shipped serial-letter templates (OpenDocument text, DIN A4 and DL) into a
// folder, byte for byte the same on every run: tools/make-templates.sh calls it for
// install/MyLetters/.
#include "letters/OdtPackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

const char* const kNamespaces =
    R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
    R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
    R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
    R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
    R"( xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")"
    R"( xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")"
    R"( xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0")"
    R"( xmlns:dc="http://purl.org/dc/elements/1.1/")"
    R"( xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0")"
    R"( office:version="1.3")";

const char* const kFonts =
    R"(<office:font-face-decls>)"
    R"(<style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'" style:font-family-generic="swiss" style:font-pitch="variable"/>)"
    R"(</office:font-face-decls>)";

const QString kSender = QStringLiteral("Ihr Name · Ihre Straße 1 · 12345 Ihr Ort");

struct Page {
    QString width, height, orientation;
    QString top, bottom, left, right;
    QString headerHeight; // empty: no header
};

QByteArray stylesXml(const Page& page, const QString& headerAutomaticStyles,
                     const QString& headerContent) {
    QString header;
    if (!page.headerHeight.isEmpty())
        header =
            QStringLiteral(
                R"(<style:header-style><style:header-footer-properties fo:min-height="%1" fo:margin-bottom="0cm"/></style:header-style>)")
                .arg(page.headerHeight);
    const QString xml =
        QStringLiteral(
            R"(<?xml version="1.0" encoding="UTF-8"?>)"
            "<office:document-styles%1>%2"
            "<office:styles>"
            R"(<style:default-style style:family="paragraph">)"
            R"(<style:paragraph-properties style:writing-mode="page"/>)"
            R"(<style:text-properties style:font-name="Liberation Sans" fo:font-size="11pt" fo:language="de" fo:country="DE"/>)"
            "</style:default-style>"
            R"(<style:default-style style:family="table"><style:table-properties table:border-model="collapsing"/></style:default-style>)"
            R"(<style:style style:name="Standard" style:family="paragraph" style:class="text"/>)"
            R"(<style:style style:name="Header" style:family="paragraph" style:parent-style-name="Standard" style:class="extra"/>)"
            R"(<style:style style:name="Table_20_Contents" style:display-name="Table Contents" style:family="paragraph" style:parent-style-name="Standard" style:class="extra"/>)"
            "</office:styles>"
            "<office:automatic-styles>"
            R"(<style:page-layout style:name="pm1">)"
            R"(<style:page-layout-properties fo:page-width="%3" fo:page-height="%4" style:print-orientation="%5" fo:margin-top="%6" fo:margin-bottom="%7" fo:margin-left="%8" fo:margin-right="%9" style:writing-mode="lr-tb"/>)"
            "%10</style:page-layout>%11"
            "</office:automatic-styles>"
            "<office:master-styles>"
            R"(<style:master-page style:name="Standard" style:page-layout-name="pm1">%12</style:master-page>)"
            "</office:master-styles>"
            "</office:document-styles>")
            .arg(QString::fromLatin1(kNamespaces), QString::fromLatin1(kFonts), page.width,
                 page.height, page.orientation, page.top, page.bottom, page.left, page.right)
            .arg(header, headerAutomaticStyles,
                 headerContent.isEmpty()
                     ? QString()
                     : QStringLiteral("<style:header>%1</style:header>").arg(headerContent));
    return xml.toUtf8();
}

QByteArray contentXml(const QString& automaticStyles, const QString& body) {
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="UTF-8"?>)"
               "<office:document-content%1>%2"
               "<office:automatic-styles>%3</office:automatic-styles>"
               "<office:body><office:text>"
               R"(<text:sequence-decls><text:sequence-decl text:display-outline-level="0" text:name="Illustration"/><text:sequence-decl text:display-outline-level="0" text:name="Table"/><text:sequence-decl text:display-outline-level="0" text:name="Text"/><text:sequence-decl text:display-outline-level="0" text:name="Drawing"/><text:sequence-decl text:display-outline-level="0" text:name="Figure"/></text:sequence-decls>)"
               "%4</office:text></office:body></office:document-content>")
        .arg(QString::fromLatin1(kNamespaces), QString::fromLatin1(kFonts), automaticStyles, body)
        .toUtf8();
}

QByteArray metaXml(const QString& title) {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                          "<office:document-meta%1><office:meta>"
                          "<meta:generator>Quillon</meta:generator>"
                          "<dc:title>%2</dc:title><dc:language>de-DE</dc:language>"
                          "<meta:creation-date>2001-01-01T12:00:00</meta:creation-date>"
                          "<dc:date>2001-01-01T12:00:00</dc:date>"
                          "</office:meta></office:document-meta>")
        .arg(QString::fromLatin1(kNamespaces), title)
        .toUtf8();
}

QByteArray manifestXml() {
    return QByteArrayLiteral(
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">)"
        R"(<manifest:file-entry manifest:full-path="/" manifest:version="1.3" manifest:media-type="application/vnd.oasis.opendocument.text"/>)"
        R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>)"
        R"(<manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>)"
        R"(<manifest:file-entry manifest:full-path="meta.xml" manifest:media-type="text/xml"/>)"
        R"(</manifest:manifest>)");
}

void writeDocument(const QString& path, const QString& title, const QByteArray& styles,
                   const QByteArray& content) {
    OdtPackage package;
    package.setEntry(QStringLiteral("mimetype"), OdtPackage::textMimeType());
    package.setEntry(QStringLiteral("content.xml"), content);
    package.setEntry(QStringLiteral("styles.xml"), styles);
    package.setEntry(QStringLiteral("meta.xml"), metaXml(title));
    package.setEntry(QStringLiteral("META-INF/manifest.xml"), manifestXml());
    package.write(path);
}

QString p(const QString& style, const QString& text) {
    return QStringLiteral(R"(<text:p text:style-name="%1">%2</text:p>)").arg(style, text);
}

// The address lines every template shares; a line whose fields are all empty is dropped
// by the merge.
QString addressLines(const QString& style) {
    return p(style, QStringLiteral("«Vorname» «Name»")) +
           p(style, QStringLiteral("«Ansprechpartner»")) + p(style, QStringLiteral("«Str»")) +
           p(style, QStringLiteral("«PLZ» «Ort»")) + p(style, QStringLiteral("«Land»"));
}

// DIN 5008, form B: letterhead in the page header down to 45 mm, the address field of a
// window envelope at 20 mm from the left edge (85 × 45 mm, the text 5 mm inside), the text
// from 25 mm.
void letter(const QString& folder) {
    const Page page{QStringLiteral("21cm"), QStringLiteral("29.7cm"), QStringLiteral("portrait"),
                    QStringLiteral("1cm"),  QStringLiteral("2cm"),    QStringLiteral("2cm"),
                    QStringLiteral("2cm"),  QStringLiteral("3.5cm")};
    const QString headerStyles = QStringLiteral(
        R"(<style:style style:name="MP1" style:family="paragraph" style:parent-style-name="Header"><style:paragraph-properties fo:text-align="end" fo:margin-top="0.5cm"/><style:text-properties fo:font-size="16pt" fo:font-weight="bold"/></style:style>)"
        R"(<style:style style:name="MP2" style:family="paragraph" style:parent-style-name="Header"><style:paragraph-properties fo:text-align="end"/><style:text-properties fo:font-size="9pt"/></style:style>)");
    const QString headerContent = p(QStringLiteral("MP1"), QStringLiteral("Ihr Name")) +
                                  p(QStringLiteral("MP2"), QStringLiteral("Ihre Straße 1")) +
                                  p(QStringLiteral("MP2"), QStringLiteral("12345 Ihr Ort")) +
                                  p(QStringLiteral("MP2"), QStringLiteral("Telefon 01234 56789"));
    const QString styles = QStringLiteral(
        R"(<number:date-style style:name="N1"><number:day number:style="long"/><number:text>.</number:text><number:month number:style="long"/><number:text>.</number:text><number:year number:style="long"/></number:date-style>)"
        R"(<style:style style:name="Anschriftfeld" style:family="table"><style:table-properties style:width="8.5cm" table:align="left" fo:margin-left="0cm"/></style:style>)"
        R"(<style:style style:name="Anschriftfeld.A" style:family="table-column"><style:table-column-properties style:column-width="8.5cm"/></style:style>)"
        R"(<style:style style:name="Anschriftfeld.1" style:family="table-row"><style:table-row-properties style:row-height="4.5cm" fo:keep-together="always"/></style:style>)"
        R"(<style:style style:name="Anschriftfeld.A1" style:family="table-cell"><style:table-cell-properties style:vertical-align="top" fo:padding-left="0.5cm" fo:padding-right="0.1cm" fo:padding-top="0.1cm" fo:padding-bottom="0cm" fo:border="none"/></style:style>)"
        R"(<style:style style:name="Ruecksendung" style:family="paragraph" style:parent-style-name="Table_20_Contents"><style:paragraph-properties fo:margin-bottom="0.3cm"/><style:text-properties fo:font-size="7pt" style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>)"
        R"(<style:style style:name="Anschrift" style:family="paragraph" style:parent-style-name="Table_20_Contents"/>)"
        R"(<style:style style:name="Datum" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:text-align="end" fo:margin-top="0.85cm" fo:margin-bottom="0.85cm"/></style:style>)"
        R"(<style:style style:name="Betreff" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:margin-left="0.5cm" fo:margin-bottom="0.85cm"/><style:text-properties fo:font-weight="bold"/></style:style>)"
        R"(<style:style style:name="Text" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:margin-left="0.5cm" fo:margin-bottom="0.42cm" fo:text-align="start"/></style:style>)"
        R"(<style:style style:name="Gruss" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:margin-left="0.5cm" fo:margin-top="0.42cm" fo:margin-bottom="1.5cm"/></style:style>)");
    const QString body =
        QStringLiteral(
            R"(<table:table table:name="Anschriftfeld" table:style-name="Anschriftfeld">)"
            R"(<table:table-column table:style-name="Anschriftfeld.A"/>)"
            R"(<table:table-row table:style-name="Anschriftfeld.1">)"
            R"(<table:table-cell table:style-name="Anschriftfeld.A1" office:value-type="string">)") +
        p(QStringLiteral("Ruecksendung"), kSender) + addressLines(QStringLiteral("Anschrift")) +
        QStringLiteral("</table:table-cell></table:table-row></table:table>") +
        p(QStringLiteral("Datum"),
          QStringLiteral(
              R"(Ihr Ort, <text:date style:data-style-name="N1">01.01.2001</text:date>)")) +
        p(QStringLiteral("Betreff"), QStringLiteral("«Betreff»")) +
        p(QStringLiteral("Text"), QStringLiteral("«Anrede» «Name»,")) +
        p(QStringLiteral("Text"),
          QStringLiteral("hier steht der Text Ihres Briefes. Passen Sie diese Vorlage nach Ihren "
                         "Wünschen an und speichern Sie sie unter einem eigenen Namen.")) +
        p(QStringLiteral("Gruss"), QStringLiteral("Mit freundlichen Grüßen")) +
        p(QStringLiteral("Text"), QStringLiteral("Ihr Name"));
    writeDocument(folder + QStringLiteral("Brief-Vorlage DIN 5008.odt"),
                  QStringLiteral("Brief-Vorlage DIN 5008"),
                  stylesXml(page, headerStyles, headerContent), contentXml(styles, body));
}

// 3 × 8 labels of 70 × 36 mm on A4. The sheet fills the page from 4.5 mm; the paragraph a
// document must end with is tiny, so it fits below the sheet instead of opening a page.
void labels(const QString& folder) {
    const Page page{QStringLiteral("21cm"),     QStringLiteral("29.7cm"),
                    QStringLiteral("portrait"), QStringLiteral("0.45cm"),
                    QStringLiteral("0cm"),      QStringLiteral("0cm"),
                    QStringLiteral("0cm"),      QString()};
    const QString styles = QStringLiteral(
        R"(<style:style style:name="Etiketten" style:family="table"><style:table-properties style:width="21cm" table:align="left" fo:margin-left="0cm"/></style:style>)"
        R"(<style:style style:name="Etiketten.A" style:family="table-column"><style:table-column-properties style:column-width="7cm"/></style:style>)"
        R"(<style:style style:name="Etiketten.1" style:family="table-row"><style:table-row-properties style:row-height="3.6cm" fo:keep-together="always"/></style:style>)"
        R"(<style:style style:name="Etiketten.A1" style:family="table-cell"><style:table-cell-properties style:vertical-align="middle" fo:padding-left="0.6cm" fo:padding-right="0.3cm" fo:padding-top="0.2cm" fo:padding-bottom="0.2cm" fo:border="none"/></style:style>)"
        R"(<style:style style:name="Etikett" style:family="paragraph" style:parent-style-name="Table_20_Contents"><style:text-properties fo:font-size="10pt"/></style:style>)"
        R"(<style:style style:name="Ende" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:line-height="0.1cm"/><style:text-properties fo:font-size="2pt"/></style:style>)");
    QString rows;
    for (int row = 0; row < 8; ++row) {
        rows += QStringLiteral(R"(<table:table-row table:style-name="Etiketten.1">)");
        for (int column = 0; column < 3; ++column)
            rows +=
                QStringLiteral(
                    R"(<table:table-cell table:style-name="Etiketten.A1" office:value-type="string">)") +
                addressLines(QStringLiteral("Etikett")) + QStringLiteral("</table:table-cell>");
        rows += QStringLiteral("</table:table-row>");
    }
    const QString body =
        QStringLiteral(
            R"(<table:table table:name="Etiketten" table:style-name="Etiketten">)"
            R"(<table:table-column table:style-name="Etiketten.A" table:number-columns-repeated="3"/>)") +
        rows + QStringLiteral("</table:table>") + p(QStringLiteral("Ende"), QString());
    writeDocument(folder + QStringLiteral("Adress-Etikett 3x8 70x36.odt"),
                  QStringLiteral("Adress-Etikett 3 × 8, 70 × 36 mm"), stylesXml(page, {}, {}),
                  contentXml(styles, body));
}

// DL envelope (220 × 110 mm, printed in landscape): sender at the top left, the address
// in the window area from 110 mm right and 50 mm down.
void envelope(const QString& folder) {
    const Page page{QStringLiteral("22cm"),      QStringLiteral("11cm"),
                    QStringLiteral("landscape"), QStringLiteral("1cm"),
                    QStringLiteral("0.5cm"),     QStringLiteral("1.5cm"),
                    QStringLiteral("1cm"),       QString()};
    const QString styles = QStringLiteral(
        R"(<style:style style:name="Absender" style:family="paragraph" style:parent-style-name="Standard"><style:text-properties fo:font-size="8pt"/></style:style>)"
        R"(<style:style style:name="Empfaenger1" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:margin-left="9.5cm" fo:margin-top="3.4cm"/><style:text-properties fo:font-size="12pt"/></style:style>)"
        R"(<style:style style:name="Empfaenger" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:margin-left="9.5cm"/><style:text-properties fo:font-size="12pt"/></style:style>)");
    const QString body = p(QStringLiteral("Absender"), kSender) +
                         p(QStringLiteral("Empfaenger1"), QStringLiteral("«Vorname» «Name»")) +
                         p(QStringLiteral("Empfaenger"), QStringLiteral("«Ansprechpartner»")) +
                         p(QStringLiteral("Empfaenger"), QStringLiteral("«Str»")) +
                         p(QStringLiteral("Empfaenger"), QStringLiteral("«PLZ» «Ort»")) +
                         p(QStringLiteral("Empfaenger"), QStringLiteral("«Land»"));
    writeDocument(folder + QStringLiteral("Briefumschlag DL.odt"),
                  QStringLiteral("Briefumschlag DL"), stylesXml(page, {}, {}),
                  contentXml(styles, body));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "Aufruf: quillon-make-templates ORDNER\n";
        return 2;
    }
    const QString folder = QDir(app.arguments().at(1)).absolutePath() + u'/';
    try {
        letter(folder);
        labels(folder);
        envelope(folder);
    } catch (const std::exception& error) {
        err << error.what() << '\n';
        return 1;
    }
    return 0;
}
