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

class QTextCharFormat;
class QTextDocument;

// Groups nested deeper than this take the formats of the group at the cap.
constexpr int MaxRtfDepth = 128;

// Whether Data starts as rich text ("{\rtf").
bool IsRtf(const std::string &Data);

// Replaces Doc's contents by the text and character formats of Rtf. A run
// is drawn in the installed face that FontFamilyFor (Graphics.h) gives for
// the face the font table names; the name itself is kept with the run.
void ReadRtf(const std::string &Rtf, QTextDocument &Doc);

// The face the rich text named for a run that ReadRtf made; empty for
// other formats.
QString RtfFaceName(const QTextCharFormat &Format);

// Replaces Doc's contents by Text (Windows-1252), lines ended by CR LF, LF
// or CR; the end of the last line may be there or not.
void ReadPlainText(const std::string &Text, QTextDocument &Doc);

// Doc's text and character formats (font, size, bold, italic, underline,
// colour) as rich text in Windows-1252 with \uN for the rest; a run read
// from rich text names the face it was read with.
std::string WriteRtf(const QTextDocument &Doc);
