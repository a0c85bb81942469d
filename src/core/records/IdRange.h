#pragma once

#include <QString>

// The range of the "Markieren von ID bis ID" dialog. It lives as long as the dialog, so
// the range entered last stays for the next use; before the first valid entry it is 0 to 0.
struct IdRange {
    int start = 0;
    int end = 0;

    // The dialog's OK: reads the start text, then the end text. A text that is not a whole
    // number is a QuillonError, and the numbers read before it stay: when the start fails
    // neither number changes, when only the end fails the start is already the new one.
    void readTexts(const QString& startText, const QString& endText);

    // A trimmed whole number of 32 bits (an optional sign, then digits); anything else,
    // including the empty text and blanks between digits, is a QuillonError.
    static int parseId(const QString& text);
};
