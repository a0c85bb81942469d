#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

// Reads a text file line by line, so files of any size take little memory. A line ends at
// CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line; a NUL ends
// the text. The file is read as UTF-8 when it starts with a byte-order mark or its text is
// valid UTF-8, otherwise as Windows-1252. Opening scans the file once for the encoding and
// the number of lines.
class TextLineReader {
public:
    enum class Encoding { Utf8, Windows1252 };

    // Longer lines end the reading with an error naming the line.
    static constexpr qint64 kMaxLineBytes = 16 * 1024 * 1024;

    // A missing, unreadable or non-regular file is a QuillonError.
    explicit TextLineReader(const QString& path);

    Encoding encoding() const { return m_encoding; }
    qint64 lineCount() const { return m_lineCount; }

    // The next line; false after the last one. An overlong line or a read failure is a
    // QuillonError.
    bool next(QString* line);
    // Index (from 0) of the line the last call of next() gave.
    qint64 lineIndex() const { return m_index; }

private:
    void scan();
    bool fill();
    [[noreturn]] void readFailed();

    QString m_path;
    QFile m_file;
    Encoding m_encoding = Encoding::Windows1252;
    qint64 m_lineCount = 0;
    qint64 m_textStart = 0;

    QByteArray m_chunk;
    qsizetype m_at = 0;
    bool m_ended = false;
    bool m_afterCr = false;
    QByteArray m_pending;
    // Decodes into the caller's string, reusing its memory line after line.
    QStringDecoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom};
    qint64 m_index = -1;
};
