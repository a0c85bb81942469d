#include "TextLineReader.h"

#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"

#include <QFileInfo>

namespace {

constexpr qint64 kChunkSize = 1024 * 1024;

// Checks UTF-8 byte by byte across chunk boundaries: well-formed sequences only, no
// overlong forms, no surrogates, nothing above U+10FFFF.
class Utf8Check {
public:
    bool valid() const { return m_valid; }
    bool complete() const { return m_valid && m_need == 0; }
    void feed(unsigned char b) {
        if (!m_valid)
            return;
        if (m_need > 0) {
            if (b < m_low || b > m_high) {
                m_valid = false;
                return;
            }
            m_low = 0x80;
            m_high = 0xBF;
            --m_need;
            return;
        }
        if (b < 0x80)
            return;
        m_low = 0x80;
        m_high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            m_need = 1;
        } else if (b == 0xE0) {
            m_need = 2;
            m_low = 0xA0;
        } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
            m_need = 2;
        } else if (b == 0xED) {
            m_need = 2;
            m_high = 0x9F;
        } else if (b == 0xF0) {
            m_need = 3;
            m_low = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            m_need = 3;
        } else if (b == 0xF4) {
            m_need = 3;
            m_high = 0x8F;
        } else {
            m_valid = false;
        }
    }

private:
    bool m_valid = true;
    int m_need = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
};

} // namespace

TextLineReader::TextLineReader(const QString& path) : m_path(path) {
    const QString actual = FileNames::resolve(path);
    const QFileInfo info(actual);
    if (!info.exists())
        throw QuillonError(QStringLiteral("Die Datei „%1“ wurde nicht gefunden.").arg(path));
    if (!info.isFile())
        throw QuillonError(
            QStringLiteral("„%1“ ist keine Datei und kann nicht gelesen werden.").arg(path));
    m_file.setFileName(actual);
    if (!m_file.open(QIODevice::ReadOnly))
        readFailed();
    scan();
}

void TextLineReader::readFailed() {
    throw QuillonError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                           .arg(m_path, m_file.errorString()));
}

void TextLineReader::scan() {
    const QByteArray head = m_file.peek(3);
    const bool bom = head == QByteArrayLiteral("\xEF\xBB\xBF");
    m_textStart = bom ? 3 : 0;
    m_file.seek(m_textStart);

    Utf8Check utf8;
    qint64 lines = 0;
    bool inLine = false;
    bool afterCr = false;
    bool ended = false;
    QByteArray chunk;
    while (!ended) {
        chunk = m_file.read(kChunkSize);
        if (chunk.isEmpty()) {
            if (m_file.error() != QFileDevice::NoError)
                readFailed();
            break;
        }
        for (const char c : std::as_const(chunk)) {
            const auto b = static_cast<unsigned char>(c);
            if (b > '\r') {
                utf8.feed(b);
                inLine = true;
                afterCr = false;
                continue;
            }
            if (b == 0) {
                ended = true;
                break;
            }
            if (b == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            if (b == '\n' || b == '\r') {
                ++lines;
                inLine = false;
                afterCr = b == '\r';
                utf8.feed(b);
                continue;
            }
            utf8.feed(b);
            inLine = true;
            afterCr = false;
        }
    }
    if (inLine)
        ++lines;
    m_lineCount = lines;
    m_encoding = bom || utf8.complete() ? Encoding::Utf8 : Encoding::Windows1252;
    if (!m_file.seek(m_textStart))
        readFailed();
}

bool TextLineReader::fill() {
    m_chunk = m_file.read(kChunkSize);
    m_at = 0;
    if (m_chunk.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            readFailed();
        return false;
    }
    return true;
}

bool TextLineReader::next(QString* line) {
    if (m_ended)
        return false;
    m_pending.clear();
    for (;;) {
        if (m_at >= m_chunk.size() && !fill()) {
            // The last line needs no line end; an empty rest is no line.
            m_ended = true;
            if (m_pending.isEmpty())
                return false;
            break;
        }
        const char* data = m_chunk.constData();
        const qsizetype size = m_chunk.size();
        if (m_afterCr) {
            m_afterCr = false;
            if (data[m_at] == '\n') {
                ++m_at;
                continue;
            }
        }
        qsizetype end = m_at;
        for (; end < size; ++end) {
            const auto b = static_cast<unsigned char>(data[end]);
            if (b <= '\r' && (b == '\0' || b == '\r' || b == '\n'))
                break;
        }
        if (m_pending.size() + (end - m_at) > kMaxLineBytes) {
            m_ended = true;
            throw QuillonError(QStringLiteral("Zeile %1 der Datei „%2“ ist länger als %3 MB und "
                                              "kann nicht gelesen werden.")
                                   .arg(m_index + 2)
                                   .arg(m_path)
                                   .arg(kMaxLineBytes / (1024 * 1024)));
        }
        m_pending.append(data + m_at, end - m_at);
        m_at = end;
        if (end >= size)
            continue;
        ++m_at;
        if (data[end] == '\0') {
            m_ended = true;
            if (m_pending.isEmpty())
                return false;
        } else {
            m_afterCr = data[end] == '\r';
        }
        break;
    }
    ++m_index;
    *line = m_encoding == Encoding::Utf8 ? QString::fromUtf8(m_pending)
                                         : TextFile::decodeWindows1252(m_pending);
    return true;
}
