#pragma once
// A file-backed stand-in for the registry: the two roots the suite uses, each
// kept as one ini-format file in the registry folder, keys as sections,
// values typed as text ("s:") or 32-bit number ("d:"). Key paths compare
// without regard to letter case, as the registry's do.

#include <string>
#include <vector>

#include "IniFile.h"
#include "SysUtils.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum THKey { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };
enum TRegDataType { rdUnknown, rdString, rdInteger };

// Folder that holds the roots: $ORVA_REGISTRY_DIR if set, else
// $XDG_CONFIG_HOME/orva/registry, else ~/.config/orva/registry.
std::string RegistryFolder();

class TRegistry {
public:
    THKey RootKey = HKEY_CURRENT_USER;

    // Positions on Key (relative to the root, "\"-separated); creates it when
    // CanCreate. Returns whether a key is open; the root itself ("" or "\")
    // holds no values here and is never opened.
    bool OpenKey(const std::string &Key, bool CanCreate);
    bool OpenKeyReadOnly(const std::string &Key) { return OpenKey(Key, false); }
    void CloseKey()
    {
        FCurrentKey.clear();
        FOpen = false;
    }
    bool KeyExists(const std::string &Key) const;
    const std::string &CurrentPath() const { return FCurrentKey; }
    bool IsOpen() const { return FOpen; }

    // Writes raise ERegistryException when no key is open, the file fails or
    // a text would not read back whole (StorableLineEnd).
    void WriteString(const std::string &Name, const std::string &Value);
    void WriteInteger(const std::string &Name, int Value);
    // Removes the value Name of the open key; false when there was none.
    bool DeleteValue(const std::string &Name);
    // A missing value, or one without a key open, reads as empty text; a
    // number raises ERegistryException.
    std::string ReadString(const std::string &Name) const;
    // Raises ERegistryException for a missing value or one of another type.
    int ReadInteger(const std::string &Name) const;
    bool ValueExists(const std::string &Name) const;
    TRegDataType GetDataType(const std::string &Name) const;
    std::vector<std::string> GetValueNames() const;

private:
    std::string RootFile() const;
    TIniDocument LoadRoot() const;
    bool RawValue(const std::string &Name, std::string &Raw) const;
    std::string FCurrentKey;
    bool FOpen = false;
};

// Normalises a key path: separators "\" (only they), no leading, trailing or
// doubled ones.
std::string NormaliseKeyPath(const std::string &Key);
// Key names hold any character but a control character (a line break would
// end the key's line in the file); such a key is never opened. Nor is the
// root itself: the file has no header that reads back as an empty name.
bool StorableKeyPath(const std::string &Path);
// Value names are stored as the text before the first "=" of a line, so a
// value name is not empty and must not hold one, begin or end with a blank,
// begin like a section or a comment, or hold a control character; such a
// value is never written.
bool StorableValueName(const std::string &Name);
