#include "TextFile.h"

#include "FileNames.h"
#include "QuillonError.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Code points of the bytes 0x80 to 0x9F; the five unassigned bytes map to C1 controls.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

namespace TextFile {

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray encodeWindows1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = windows1252Byte(text[i].unicode());
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return bytes;
}

bool isWindows1252Encodable(QStringView text) {
    for (QChar c : text)
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    return true;
}

QStringList splitLines(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text = text.left(nul);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < length && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < length)
        lines.append(text.mid(start).toString());
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(FileNames::resolve(path));
    if (!file.exists())
        throw QuillonError(QStringLiteral("Die Datei „%1“ wurde nicht gefunden.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw QuillonError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                               .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw QuillonError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                               .arg(path, file.errorString()));
    return splitLines(decodeWindows1252(bytes));
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(FileNames::resolve(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw QuillonError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                               .arg(path, file.errorString()));
}

void writeLines(const QString& path, const QStringList& lines) {
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    writeBytes(path, encodeWindows1252(text));
}

} // namespace TextFile
