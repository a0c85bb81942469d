#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// An OpenDocument package: a ZIP archive whose first entry is "mimetype", stored.
class OdtPackage {
public:
    struct Entry {
        QString name;
        QByteArray data;
    };

    static QByteArray textMimeType() { return "application/vnd.oasis.opendocument.text"; }

    // Reads every entry; a file that is no OpenDocument text (no ZIP, another mimetype, no
    // content.xml, an entry too large to be a letter) is a QuillonError.
    static OdtPackage read(const QString& path);

    // Writes "mimetype" first and uncompressed, every other entry deflated, with a fixed
    // time stamp so that the same content gives the same bytes. Replaces the file whole.
    void write(const QString& path) const;

    QByteArray entry(const QString& name) const;
    bool contains(const QString& name) const;
    void setEntry(const QString& name, const QByteArray& data);
    const QList<Entry>& entries() const { return m_entries; }

private:
    QList<Entry> m_entries;
};
