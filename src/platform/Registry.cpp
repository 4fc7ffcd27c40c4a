#include "Registry.h"

#include "IniFile.h"

#include <sys/stat.h>

#include <algorithm>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

void MakeFolders(const std::string &Path)
{
    for (size_t i = 1; i <= Path.size(); ++i) {
        if (i == Path.size() || Path[i] == '/')
            ::mkdir(Path.substr(0, i).c_str(), 0700);
    }
}

} // namespace

std::string RegistryFolder()
{
    if (const char *dir = std::getenv("ORVA_REGISTRY_DIR"); dir && *dir)
        return dir;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/orva/registry";
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config/orva/registry";
}

std::string NormaliseKeyPath(const std::string &Key)
{
    std::string out;
    for (char c : Key) {
        if (c == '\\') {
            if (!out.empty() && out.back() != '\\')
                out.push_back('\\');
        } else {
            out.push_back(c);
        }
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

bool StorableKeyPath(const std::string &Path)
{
    return !Path.empty() && std::none_of(Path.begin(), Path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

bool StorableValueName(const std::string &Name)
{
    if (Name.empty() || !StorableKeyPath(Name) || Name.find('=') != std::string::npos ||
        Name.front() == '[' || Name.front() == ';')
        return false;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !blank(Name.front()) && !blank(Name.back());
}

std::string TRegistry::RootFile() const
{
    return RegistryFolder() +
           (RootKey == HKEY_LOCAL_MACHINE ? "/HKEY_LOCAL_MACHINE.reg" : "/HKEY_CURRENT_USER.reg");
}

TIniDocument TRegistry::LoadRoot() const
{
    TIniDocument doc(true);
    doc.Load(RootFile());
    return doc;
}

bool TRegistry::KeyExists(const std::string &Key) const
{
    const std::string path = NormaliseKeyPath(Key);
    return StorableKeyPath(path) && LoadRoot().HasSection(path);
}

bool TRegistry::OpenKey(const std::string &Key, bool CanCreate)
{
    const std::string path = NormaliseKeyPath(Key);
    if (!StorableKeyPath(path))
        return false;
    TIniDocument doc = LoadRoot();
    if (!doc.HasSection(path)) {
        if (!CanCreate)
            return false;
        MakeFolders(RegistryFolder());
        doc.AddSection(path);
        if (!doc.Save(RootFile()))
            return false;
    }
    FCurrentKey = path;
    FOpen = true;
    return true;
}

void TRegistry::WriteString(const std::string &Name, const std::string &Value)
{
    if (!FOpen || !StorableValueName(Name) || !StorableLineEnd(Value))
        throw ERegistryException("Failed to set data for '" + Name + "'");
    TIniDocument doc = LoadRoot();
    doc.Set(FCurrentKey, Name, "s:" + Value);
    if (!doc.Save(RootFile()))
        throw ERegistryException("Failed to set data for '" + Name + "'");
}

void TRegistry::WriteInteger(const std::string &Name, int Value)
{
    if (!FOpen || !StorableValueName(Name))
        throw ERegistryException("Failed to set data for '" + Name + "'");
    TIniDocument doc = LoadRoot();
    doc.Set(FCurrentKey, Name, "d:" + std::to_string(Value));
    if (!doc.Save(RootFile()))
        throw ERegistryException("Failed to set data for '" + Name + "'");
}

bool TRegistry::DeleteValue(const std::string &Name)
{
    if (!FOpen)
        return false;
    TIniDocument doc = LoadRoot();
    if (!doc.Remove(FCurrentKey, Name))
        return false;
    if (!doc.Save(RootFile()))
        throw ERegistryException("Failed to delete value '" + Name + "'");
    return true;
}

bool TRegistry::RawValue(const std::string &Name, std::string &Raw) const
{
    if (!FOpen)
        return false;
    return LoadRoot().Get(FCurrentKey, Name, Raw);
}

std::string TRegistry::ReadString(const std::string &Name) const
{
    std::string raw;
    if (!RawValue(Name, raw))
        return "";
    if (raw.compare(0, 2, "s:") != 0)
        throw ERegistryException("Invalid data type for '" + Name + "'");
    return raw.substr(2);
}

int TRegistry::ReadInteger(const std::string &Name) const
{
    std::string raw;
    int value;
    if (!RawValue(Name, raw) || raw.compare(0, 2, "d:") != 0 ||
        !ParseIniInteger(raw.substr(2), value))
        throw ERegistryException("Invalid data type for '" + Name + "'");
    return value;
}

bool TRegistry::ValueExists(const std::string &Name) const
{
    std::string raw;
    return RawValue(Name, raw);
}

TRegDataType TRegistry::GetDataType(const std::string &Name) const
{
    std::string raw;
    if (!RawValue(Name, raw))
        return rdUnknown;
    if (raw.compare(0, 2, "s:") == 0)
        return rdString;
    if (raw.compare(0, 2, "d:") == 0)
        return rdInteger;
    return rdUnknown;
}

std::vector<std::string> TRegistry::GetValueNames() const
{
    if (!FOpen)
        return {};
    return LoadRoot().Keys(FCurrentKey);
}
