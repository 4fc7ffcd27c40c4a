#pragma once
// The console window's test set-up: the simulated logger on a pseudo-terminal,
// scripted message boxes, file dialogs and shell starts, a window linked to
// the simulator.

#include "Buttons.h"
#include "CPort.h"
#include "ComCtrls.h"
#include "DSCheckBox.h"
#include "DSIndicators.h"
#include "Format.h"
#include "ProgressCyl.h"
#include "Dialogs.h"
#include "EditCtrls.h"
#include "Gauges.h"
#include "IAgaloLED.h"
#include "IniFile.h"
#include "LCD_Lab.h"
#include "MainForm.h"
#include "Registry.h"
#include "RichEdit.h"
#include "SerialPorts.h"
#include "Simulator.h"
#include "StdCtrls.h"
#include "dxButton.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <cctype>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <memory>

namespace consoletest {

using namespace logbridge;

struct TShown {
    std::string Text;
    std::string Caption;
    int Flags;
};

// Answers message boxes from a script (Yes or OK when it runs out) and file
// dialogs from a list of paths (an empty path, or none left, cancels), and
// keeps what was shown, asked and started.
class TScriptedDialogs : public TDialogs {
public:
    int MessageBox(const std::string &Text, const std::string &Caption, int Flags) override
    {
        Shown.push_back({Text, Caption, Flags});
        if (!Answers.empty()) {
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return (Flags & MB_YESNO) ? IDYES : IDOK;
    }
    bool OpenFile(TOpenDialog &Dialog) override { return Choose(Dialog); }
    bool SaveFile(TSaveDialog &Dialog) override { return Choose(Dialog); }
    bool ShellExecute(const std::string &, const std::string &File, const std::string &Parameters,
                      const std::string &, int) override
    {
        Started.push_back(File);
        StartParameters.push_back(Parameters);
        return true;
    }
    std::vector<TShown> Shown;
    std::deque<int> Answers;
    std::vector<std::string> Started;
    std::vector<std::string> StartParameters;
    std::deque<std::string> Files;
    std::vector<const TOpenDialog *> Asked; // the dialogs run, in order
    std::vector<std::string> AskedFolders;  // their InitialDir when run

private:
    bool Choose(TOpenDialog &Dialog)
    {
        Asked.push_back(&Dialog);
        AskedFolders.push_back(Dialog.InitialDir);
        if (Files.empty())
            return false;
        const std::string path = Files.front();
        Files.pop_front();
        if (path.empty())
            return false;
        Dialog.FileName = path;
        return true;
    }
};

inline orvasim::TSimOptions SimOptions(int Variant = 2)
{
    orvasim::TSimOptions o;
    o.Device.Variant = Variant;
    o.Device.Records = 500;
    o.Device.PeriodCode = 4;
    o.Device.Seed = 7;
    return o;
}

// Whether Text has the shape of Pattern, where '#' stands for a digit.
inline bool Shaped(const std::string &Text, const std::string &Pattern)
{
    if (Text.size() != Pattern.size())
        return false;
    for (size_t i = 0; i < Text.size(); ++i)
        if (Pattern[i] == '#' ? !std::isdigit(static_cast<unsigned char>(Text[i]))
                              : Text[i] != Pattern[i])
            return false;
    return true;
}

inline orvasim::TFaults Silent()
{
    orvasim::TFaults faults;
    faults.Silent = true;
    return faults;
}

inline std::string Commands(const std::vector<uint8_t> &Bytes)
{
    return std::string(Bytes.begin(), Bytes.end());
}

// What the logger has received once Count bytes are in (or a second has
// passed): commands that expect no reply may still be on their way.
inline std::string ReceivedWhen(orvasim::TSimulator &Sim, size_t Count)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (Sim.Received().size() < Count && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return Commands(Sim.Received());
}

inline bool Sampling(orvasim::TSimulator &Sim)
{
    return Sim.WithDevice([](orvasim::TDevice &d, int64_t) { return d.Sampling(); });
}

class ConsoleForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        setenv("ORVA_REGISTRY_DIR", Dir.filePath("registry").toStdString().c_str(), 1);
        Saved = SetDialogs(&Boxes);
        Application->Title = "REZO3 Varadudivezu";
    }
    void TearDown() override
    {
        Form.reset();
        SetDialogs(Saved);
        unsetenv("ORVA_REGISTRY_DIR");
    }

    std::string Folder() const { return Dir.path().toStdString(); }
    std::string Ini() const { return Folder() + "/comport.ini"; }

    // The settings a user's earlier run left: Port at 9600 baud.
    void WriteSettings(const std::string &Port)
    {
        TComPort port(nullptr);
        port.SetName("ComPort1");
        port.SetPort(Port);
        port.SetBaudRate(br9600);
        port.SaveSettings(ssIniFile, Ini());
    }
    std::string SavedSetting(const std::string &Key)
    {
        TIniDocument doc;
        doc.Load(Ini());
        for (const std::string &section : doc.Sections()) {
            std::string value;
            if (doc.Get(section, Key, value))
                return value;
        }
        return "";
    }

    TForm1 &MakeForm()
    {
        Form = std::make_unique<TForm1>(nullptr);
        Form->SettingsFolder = Folder();
        return *Form;
    }
    // The window's first activation; a port that cannot be opened ends it
    // with the serial layer's error, which the program drops.
    void Activate()
    {
        try {
            Form->Activate();
        } catch (const EComPort &) {
        }
    }
    // Settings naming the simulator, the map listing it, the window up.
    TForm1 &Linked(orvasim::TSimulator &Device)
    {
        WriteSettings(Device.SlavePath());
        PublishSerialPorts({Device.SlavePath()});
        MakeForm();
        Activate();
        return *Form;
    }
    std::vector<std::string> PortList()
    {
        std::vector<std::string> items;
        for (int i = 0; i < Form->ComboBox1->ItemCount(); ++i)
            items.push_back(Form->ComboBox1->Item(i));
        return items;
    }
    std::vector<TControl *> DeviceControls()
    {
        TForm1 &f = *Form;
        return {f.dxButton9, f.dxButton10,   f.dxButton3,    f.dxButton4,    f.dxButton2,
                f.dxButton8, f.SpeedButton5, f.SpeedButton7, f.SpeedButton8, f.SpeedButton10};
    }
    void ExpectControlsEnabled(bool Enabled)
    {
        for (TControl *c : DeviceControls())
            EXPECT_EQ(c->Enabled(), Enabled) << c->Name();
    }
    std::string LastText() const { return Boxes.Shown.empty() ? "" : Boxes.Shown.back().Text; }

    // Serves the window's events (the port's deliveries among them) until
    // Done holds or Limit passes; whether Done came.
    template <class F> static bool ServeUntil(F Done, std::chrono::milliseconds Limit)
    {
        const auto end = std::chrono::steady_clock::now() + Limit;
        while (!Done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    static void Serve(int Ms)
    {
        ServeUntil([] { return false; }, std::chrono::milliseconds(Ms));
    }

    QTemporaryDir Dir;
    TScriptedDialogs Boxes;
    TDialogs *Saved = nullptr;
    std::unique_ptr<TForm1> Form;
};

} // namespace consoletest
