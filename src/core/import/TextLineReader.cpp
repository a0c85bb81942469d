#include "TextLineReader.h"

#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 kChunkSize = 1024 * 1024;

// Checks UTF-8 chunk by chunk; a sequence cut by the end of a chunk is checked with the
// next one, so the result is that of the whole text.
class Utf8Check {
public:
    bool valid() const { return m_valid; }
    bool complete() const { return m_valid && m_tail.isEmpty(); }
    void feed(const char* data, qsizetype size) {
        if (!m_valid || size == 0)
            return;
        const qsizetype cut = size - incompleteTail(data, size);
        QByteArray text = m_tail;
        text.append(data, cut);
        m_valid = QByteArrayView(text).isValidUtf8();
        m_tail = QByteArray(data + cut, size - cut);
    }

private:
    // The bytes at the end that start a sequence the chunk does not finish.
    static qsizetype incompleteTail(const char* data, qsizetype size) {
        for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
            const auto b = static_cast<unsigned char>(data[size - back]);
            if ((b & 0xC0) == 0x80)
                continue; // a continuation byte: look further back for the lead
            const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
        return 0;
    }

    bool m_valid = true;
    QByteArray m_tail;
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
        const char* data = chunk.constData();
        qsizetype size = chunk.size();
        if (const void* nul = std::memchr(data, 0, static_cast<size_t>(size))) {
            size = static_cast<const char*>(nul) - data;
            ended = true;
        }
        utf8.feed(data, size);
        if (size == 0)
            continue;
        if (!afterCr && !std::memchr(data, '\r', static_cast<size_t>(size))) {
            // Only LF line ends here: count them at once.
            lines += std::count(data, data + size, '\n');
            inLine = data[size - 1] != '\n';
            continue;
        }
        for (qsizetype i = 0; i < size; ++i) {
            const char b = data[i];
            if (b == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            if (b == '\n' || b == '\r') {
                ++lines;
                inLine = false;
                afterCr = b == '\r';
                continue;
            }
            inLine = true;
            afterCr = false;
        }
    }
    if (inLine)
        ++lines;
    m_lineCount = lines;
    // A byte-order mark before bytes that are not UTF-8 is a mislabelled file: its text is
    // read as Windows-1252 rather than losing its umlauts.
    m_encoding = utf8.complete() ? Encoding::Utf8 : Encoding::Windows1252;
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
    if (m_encoding == Encoding::Utf8) {
        line->resize(m_pending.size());
        QChar* end = m_utf8.appendToBuffer(line->data(), m_pending);
        line->resize(end - line->constData());
    } else {
        *line = TextFile::decodeWindows1252(m_pending);
    }
    return true;
}
