#pragma once
// Rich text format in and out of a QTextDocument, for the rich-edit view.
//
// The reader takes the subset that reports and ordinary hand-edited copies
// hold: groups, control words, \par, \line, \tab, \'hh in Windows-1252, \uN
// with its \ucN fallback, the font and colour tables and the character
// formats \plain \b \i \ul \fs \cf \f; other destinations (\*, \pict,
// \info, \stylesheet ...) are skipped, unknown words ignored. Any bytes are
// safe: unbalanced braces, truncated escapes, huge numbers and nesting
// beyond MaxRtfDepth neither crash nor hang.
//
// Lines end at \par and \line; a \par that ends the document closes its
// last line rather than opening an empty one, so what WriteRtf writes reads
// back with the same lines.

#include <QString>
#include <string>

class QTextDocument;

// Groups nested deeper than this take the formats of the group at the cap.
constexpr int MaxRtfDepth = 128;

// Whether Data starts as rich text ("{\rtf").
bool IsRtf(const std::string &Data);

// Replaces Doc's contents by the text and character formats of Rtf.
void ReadRtf(const std::string &Rtf, QTextDocument &Doc);

// Replaces Doc's contents by Text (Windows-1252), lines ended by CR LF, LF
// or CR; the end of the last line may be there or not.
void ReadPlainText(const std::string &Text, QTextDocument &Doc);

// Doc's text and character formats (font, size, bold, italic, underline,
// colour) as rich text in Windows-1252 with \uN for the rest.
std::string WriteRtf(const QTextDocument &Doc);
