#pragma once

#include <QString>

class QTextDocument;

// What the formatted text of a text object may hold. The text tool makes
// paragraphs of plain text in one character format; the markup of a file
// from elsewhere may hold anything, and tables or lists nested a few dozen
// deep take the layout minutes or overflow its stack. So the markup may use
// only the elements the text tool's own text is written with, and the text
// only as much as lays out in a blink.
class TextCheck
{
public:
    static constexpr int MaxCharacters = 10000;
    // Paragraphs and line breaks together.
    static constexpr int MaxLines = 1000;
    // Every line may open a paragraph and a span, and close them.
    static constexpr int MaxTags = 4 * MaxLines + 64;
    static constexpr int MaxStyleSheet = 4096;
    static constexpr double MaxPointSize = 2000;

    // Looked at before the markup is parsed, which costs by itself.
    static bool isSimpleMarkup(QStringView html);
    // The parsed text: paragraphs of characters, no more than the limits.
    static bool isSimpleDocument(const QTextDocument &doc);
    // Whether `count` more characters and `lines` more lines fit beside what
    // `doc` holds.
    static bool hasRoom(const QTextDocument &doc, qsizetype count, qsizetype lines);
    static qsizetype lineCount(const QTextDocument &doc);
};
