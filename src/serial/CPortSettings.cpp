// Saving the port's settings to an ini file or the registry and restoring
// them, as readable texts under fixed key names.
#include "CPort.h"

#include "IniFile.h"
#include "Registry.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <optional>
#include <cstdlib>
#include <vector>

namespace {

std::string UpperCase(const std::string &Text)
{
    std::string out = Text;
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return out;
}

template <typename T, size_t N>
T ParseText(const std::string &Text, const char *const (&Texts)[N], T Fallback)
{
    const std::string upper = UpperCase(Text);
    for (size_t i = 0; i < N; ++i)
        if (upper == UpperCase(Texts[i]))
            return T(i);
    return Fallback;
}

const char *const BaudRateTexts[] = {"Custom", "110",    "300",    "600",   "1200",  "2400",
                                     "4800",   "9600",   "14400",  "19200", "38400", "56000",
                                     "57600",  "115200", "128000", "256000"};
const char *const StopBitsTexts[] = {"1", "1.5", "2"};
const char *const DataBitsTexts[] = {"5", "6", "7", "8"};
const char *const ParityTexts[] = {"None", "Odd", "Even", "Mark", "Space"};
const char *const FlowControlTexts[] = {"Hardware", "Software", "None", "Custom"};
const char *const DtrModeTexts[] = {"Disable", "Enable", "Handshake"};
const char *const RtsModeTexts[] = {"Disable", "Enable", "Handshake", "Toggle"};

} // namespace

std::string BaudRateText(TBaudRate Value)
{
    return BaudRateTexts[Value];
}
TBaudRate ParseBaudRate(const std::string &Text)
{
    return ParseText(Text, BaudRateTexts, br9600);
}
std::string StopBitsText(TStopBits Value)
{
    return StopBitsTexts[Value];
}
TStopBits ParseStopBits(const std::string &Text)
{
    return ParseText(Text, StopBitsTexts, sbOneStopBit);
}
std::string DataBitsText(TDataBits Value)
{
    return DataBitsTexts[Value];
}
TDataBits ParseDataBits(const std::string &Text)
{
    return ParseText(Text, DataBitsTexts, dbEight);
}
std::string ParityText(TParityBits Value)
{
    return ParityTexts[Value];
}
TParityBits ParseParity(const std::string &Text)
{
    return ParseText(Text, ParityTexts, prNone);
}
std::string FlowControlText(TFlowControl Value)
{
    return FlowControlTexts[Value];
}
TFlowControl ParseFlowControl(const std::string &Text)
{
    return ParseText(Text, FlowControlTexts, fcCustom);
}
std::string DtrModeText(TDTRFlowControl Value)
{
    return DtrModeTexts[Value];
}
TDTRFlowControl ParseDtrMode(const std::string &Text)
{
    return ParseText(Text, DtrModeTexts, dtrDisable);
}
std::string RtsModeText(TRTSFlowControl Value)
{
    return RtsModeTexts[Value];
}
TRTSFlowControl ParseRtsMode(const std::string &Text)
{
    return ParseText(Text, RtsModeTexts, rtsDisable);
}
std::string YesNoText(bool Value)
{
    return Value ? "Yes" : "No";
}
bool ParseYesNo(const std::string &Text)
{
    return UpperCase(Text) == "YES";
}

std::string CharSettingText(char Value)
{
    const unsigned code = static_cast<unsigned char>(Value);
    if (code >= 33 && code <= 127)
        return std::string(1, Value);
    std::string text = "#";
    text += std::to_string(code);
    return text;
}

char ParseCharSetting(const std::string &Text)
{
    if (Text.empty())
        return 0;
    if (Text.size() >= 2 && Text[0] == '#') {
        const std::string digits = Text.substr(1);
        errno = 0;
        char *end = nullptr;
        const long long code = std::strtoll(digits.c_str(), &end, 10);
        const bool number = (std::isdigit(static_cast<unsigned char>(digits[0])) ||
                             digits[0] == '-' || digits[0] == '+') &&
                            *end == '\0' && errno == 0 && code >= INT32_MIN && code <= INT32_MAX;
        return number ? char(code & 0xFF) : char(0);
    }
    return Text[0];
}

void OpenSettingsKey(TRegistry &Registry, const std::string &Path, const std::string &Name)
{
    const size_t slash = Path.find('\\');
    if (slash == std::string::npos)
        return;
    const std::string root = UpperCase(Path.substr(0, slash));
    if (root == "HKEY_LOCAL_MACHINE")
        Registry.RootKey = HKEY_LOCAL_MACHINE;
    else if (root == "HKEY_CURRENT_USER")
        Registry.RootKey = HKEY_CURRENT_USER;
    std::string key = Path.substr(slash + 1);
    if (key.empty())
        throw ERegistryException("Registry key path is empty");
    if (key.back() != '\\')
        key += '\\';
    Registry.OpenKey(key + Name, true);
}

// One stored setting: its group, its key, and how it is read from and
// written to the port. Text settings go through the port's setters, so a
// restored value is handled like an assignment.
struct TComSettingKeys {
    struct Key {
        TSettingsGroup Group;
        const char *Name;
        bool Integer;
        std::string (*Text)(const TCustomComPort &);
        void (*SetText)(TCustomComPort &, const std::string &);
        int32_t (*Number)(const TCustomComPort &);
        void (*SetNumber)(TCustomComPort &, int32_t);
        // Whether the key is written and read given the settings so far.
        bool (*Applies)(const TCustomComPort &);
        // Ini default of a number that does not follow the current value.
        std::optional<int32_t> FixedDefault;
    };
    static const std::vector<Key> &All();
};

namespace {
using P = TCustomComPort;
bool Always(const P &)
{
    return true;
}
bool CustomRate(const P &p)
{
    return p.BaudRate() == brCustom;
}

TComSettingKeys::Key TextKey(TSettingsGroup g, const char *name, std::string (*text)(const P &),
                             void (*set)(P &, const std::string &),
                             bool (*applies)(const P &) = Always)
{
    return {g, name, false, text, set, nullptr, nullptr, applies, std::nullopt};
}

TComSettingKeys::Key NumberKey(TSettingsGroup g, const char *name, int32_t (*number)(const P &),
                               void (*set)(P &, int32_t), bool (*applies)(const P &) = Always,
                               std::optional<int32_t> fixedDefault = std::nullopt)
{
    return {g, name, true, nullptr, nullptr, number, set, applies, fixedDefault};
}
} // namespace

const std::vector<TComSettingKeys::Key> &TComSettingKeys::All()
{
    static const std::vector<Key> keys = {
        TextKey(
            sgBasic, "Port", [](const P &p) { return p.Port(); },
            [](P &p, const std::string &t) { p.SetPort(t); }),
        TextKey(
            sgBasic, "BaudRate", [](const P &p) { return BaudRateText(p.BaudRate()); },
            [](P &p, const std::string &t) { p.SetBaudRate(ParseBaudRate(t)); }),
        NumberKey(
            sgBasic, "CustomBaudRate", [](const P &p) { return p.CustomBaudRate(); },
            [](P &p, int32_t v) { p.SetCustomBaudRate(v); }, CustomRate, 9600),
        TextKey(
            sgBasic, "StopBits", [](const P &p) { return StopBitsText(p.StopBits()); },
            [](P &p, const std::string &t) { p.SetStopBits(ParseStopBits(t)); }),
        TextKey(
            sgBasic, "DataBits", [](const P &p) { return DataBitsText(p.DataBits()); },
            [](P &p, const std::string &t) { p.SetDataBits(ParseDataBits(t)); }),
        TextKey(
            sgBasic, "Parity", [](const P &p) { return ParityText(p.Parity()->Bits()); },
            [](P &p, const std::string &t) { p.Parity()->SetBits(ParseParity(t)); }),
        TextKey(
            sgBasic, "FlowControl",
            [](const P &p) { return FlowControlText(p.FlowControl()->FlowControl()); },
            [](P &p, const std::string &t) {
                p.FlowControl()->SetFlowControl(ParseFlowControl(t));
            }),
        TextKey(
            sgOther, "EventChar", [](const P &p) { return CharSettingText(p.EventChar()); },
            [](P &p, const std::string &t) { p.SetEventChar(ParseCharSetting(t)); }),
        TextKey(
            sgOther, "DiscardNull", [](const P &p) { return YesNoText(p.DiscardNull()); },
            [](P &p, const std::string &t) { p.SetDiscardNull(ParseYesNo(t)); }),
        TextKey(
            sgParity, "Parity.Check", [](const P &p) { return YesNoText(p.Parity()->Check()); },
            [](P &p, const std::string &t) { p.Parity()->SetCheck(ParseYesNo(t)); }),
        TextKey(
            sgParity, "Parity.Replace", [](const P &p) { return YesNoText(p.Parity()->Replace()); },
            [](P &p, const std::string &t) { p.Parity()->SetReplace(ParseYesNo(t)); }),
        TextKey(
            sgParity, "Parity.ReplaceChar",
            [](const P &p) { return CharSettingText(p.Parity()->ReplaceChar()); },
            [](P &p, const std::string &t) { p.Parity()->SetReplaceChar(ParseCharSetting(t)); }),
        NumberKey(
            sgBuffer, "Buffer.OutputSize", [](const P &p) { return p.Buffer()->OutputSize(); },
            [](P &p, int32_t v) { p.Buffer()->SetOutputSize(v); }),
        NumberKey(
            sgBuffer, "Buffer.InputSize", [](const P &p) { return p.Buffer()->InputSize(); },
            [](P &p, int32_t v) { p.Buffer()->SetInputSize(v); }),
        NumberKey(
            sgTimeouts, "Timeouts.ReadInterval",
            [](const P &p) { return p.Timeouts()->ReadInterval(); },
            [](P &p, int32_t v) { p.Timeouts()->SetReadInterval(v); }),
        NumberKey(
            sgTimeouts, "Timeouts.ReadTotalConstant",
            [](const P &p) { return p.Timeouts()->ReadTotalConstant(); },
            [](P &p, int32_t v) { p.Timeouts()->SetReadTotalConstant(v); }),
        NumberKey(
            sgTimeouts, "Timeouts.ReadTotalMultiplier",
            [](const P &p) { return p.Timeouts()->ReadTotalMultiplier(); },
            [](P &p, int32_t v) { p.Timeouts()->SetReadTotalMultiplier(v); }),
        NumberKey(
            sgTimeouts, "Timeouts.WriteTotalConstant",
            [](const P &p) { return p.Timeouts()->WriteTotalConstant(); },
            [](P &p, int32_t v) { p.Timeouts()->SetWriteTotalConstant(v); }),
        NumberKey(
            sgTimeouts, "Timeouts.WriteTotalMultiplier",
            [](const P &p) { return p.Timeouts()->WriteTotalMultiplier(); },
            [](P &p, int32_t v) { p.Timeouts()->SetWriteTotalMultiplier(v); }),
        TextKey(
            sgFlowControl, "FlowControl.ControlRTS",
            [](const P &p) { return RtsModeText(p.FlowControl()->ControlRTS()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetControlRTS(ParseRtsMode(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.ControlDTR",
            [](const P &p) { return DtrModeText(p.FlowControl()->ControlDTR()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetControlDTR(ParseDtrMode(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.DSRSensitivity",
            [](const P &p) { return YesNoText(p.FlowControl()->DSRSensitivity()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetDSRSensitivity(ParseYesNo(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.OutCTSFlow",
            [](const P &p) { return YesNoText(p.FlowControl()->OutCTSFlow()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetOutCTSFlow(ParseYesNo(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.OutDSRFlow",
            [](const P &p) { return YesNoText(p.FlowControl()->OutDSRFlow()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetOutDSRFlow(ParseYesNo(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.TxContinueOnXoff",
            [](const P &p) { return YesNoText(p.FlowControl()->TxContinueOnXoff()); },
            [](P &p, const std::string &t) {
                p.FlowControl()->SetTxContinueOnXoff(ParseYesNo(t));
            }),
        TextKey(
            sgFlowControl, "FlowControl.XonXoffIn",
            [](const P &p) { return YesNoText(p.FlowControl()->XonXoffIn()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetXonXoffIn(ParseYesNo(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.XonXoffOut",
            [](const P &p) { return YesNoText(p.FlowControl()->XonXoffOut()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetXonXoffOut(ParseYesNo(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.XoffChar",
            [](const P &p) { return CharSettingText(p.FlowControl()->XoffChar()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetXoffChar(ParseCharSetting(t)); }),
        TextKey(
            sgFlowControl, "FlowControl.XonChar",
            [](const P &p) { return CharSettingText(p.FlowControl()->XonChar()); },
            [](P &p, const std::string &t) { p.FlowControl()->SetXonChar(ParseCharSetting(t)); }),
    };
    return keys;
}

void TCustomComPort::SaveToIni(TIniFile &Ini)
{
    for (const auto &k : TComSettingKeys::All()) {
        if (!FStoredGroups.Contains(k.Group) || !k.Applies(*this))
            continue;
        if (k.Integer)
            Ini.WriteInteger(Name(), k.Name, k.Number(*this));
        else
            Ini.WriteString(Name(), k.Name, k.Text(*this));
    }
}

void TCustomComPort::SaveToRegistry(TRegistry &Registry)
{
    for (const auto &k : TComSettingKeys::All()) {
        if (!FStoredGroups.Contains(k.Group) || !k.Applies(*this))
            continue;
        if (k.Integer)
            Registry.WriteInteger(k.Name, k.Number(*this));
        else
            Registry.WriteString(k.Name, k.Text(*this));
    }
}

void TCustomComPort::LoadFromIni(TIniFile &Ini)
{
    for (const auto &k : TComSettingKeys::All()) {
        if (!FStoredGroups.Contains(k.Group) || !k.Applies(*this))
            continue;
        // A missing key keeps the current value.
        if (k.Integer) {
            k.SetNumber(*this,
                        Ini.ReadInteger(Name(), k.Name, k.FixedDefault.value_or(k.Number(*this))));
        } else {
            k.SetText(*this, Ini.ReadString(Name(), k.Name, k.Text(*this)));
        }
    }
}

void TCustomComPort::LoadFromRegistry(TRegistry &Registry)
{
    for (const auto &k : TComSettingKeys::All()) {
        if (!FStoredGroups.Contains(k.Group) || !k.Applies(*this))
            continue;
        if (k.Integer)
            k.SetNumber(*this, Registry.ReadInteger(k.Name));
        else
            k.SetText(*this, Registry.ReadString(k.Name));
    }
}

void TCustomComPort::SaveSettings(TSettingsStore Store, const std::string &Target)
{
    try {
        if (Store == ssRegistry) {
            TRegistry registry;
            OpenSettingsKey(registry, Target, Name());
            SaveToRegistry(registry);
        } else {
            TIniFile ini(Target);
            SaveToIni(ini);
        }
    } catch (...) {
        throw EComPort::CreatePlain(ComSettingsNotStored);
    }
}

void TCustomComPort::RestoreSettings(TSettingsStore Store, const std::string &Source)
{
    bool failed = false;
    BeginSettingsUpdate();
    try {
        if (Store == ssRegistry) {
            TRegistry registry;
            OpenSettingsKey(registry, Source, Name());
            LoadFromRegistry(registry);
        } else {
            TIniFile ini(Source);
            LoadFromIni(ini);
        }
    } catch (...) {
        failed = true;
    }
    try {
        EndSettingsUpdate();
    } catch (...) {
        failed = true;
    }
    if (failed)
        throw EComPort::CreatePlain(17);
}
