#pragma once
// The system's text is 8-bit (Windows-1252, degree sign $B0); Qt's is
// Unicode. Names that come from the file system are bytes as Linux spells
// them, UTF-8, and a text on the screen may hold both (a caption with a
// file name in it). FromAnsi reads every run of bytes that forms a UTF-8
// letter beyond ASCII as that letter, and every other byte as
// Windows-1252: the system's own texts hold no such runs ($B0 alone is no
// UTF-8), so both kinds read as they are spelled.

#include <QString>

#include <cstddef>
#include <string>

QString FromAnsi(const std::string &Text);
QChar FromAnsi(unsigned char Byte);
// A file's contents: every byte a Windows-1252 character, whatever they form.
QString FromCp1252(const std::string &Text);
// Unicode to the system's 8-bit text; a character Windows-1252 lacks
// becomes '?'.
std::string ToAnsi(const QString &Text);
// How many bytes Text's last character takes as FromAnsi reads it (0 for
// an empty text), so that a text is cut between characters.
std::size_t LastCharacterSize(const std::string &Text);

// A path as the file system spells it, to Unicode and back.
QString FromFileName(const std::string &Path);
std::string ToFileName(const QString &Path);

// A text the program gave a field, kept as it was spelled: while the field
// still shows it, reading the field gives those bytes back (a file name
// the system's 8-bit text cannot hold included); once the user has changed
// it, the field's text in the system's 8-bit form.
class TSpelledText {
public:
    // What the field is to show for Bytes.
    QString Set(const std::string &Bytes)
    {
        FBytes = Bytes;
        FShown = FromAnsi(Bytes);
        return FShown;
    }
    std::string Read(const QString &Shown) const
    {
        return Shown == FShown ? FBytes : ToAnsi(Shown);
    }
    const QString &Shown() const { return FShown; }

private:
    std::string FBytes;
    QString FShown;
};
