#include "gui/app/TFrmSoftwarePara.h"

#include "app/TSettings.h"
#include "serial/ECommsError.h"
#include "support/FileBytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SoftwareParaWindow : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString SettingsFile = Dir.filePath("UserParaIni.ini");
    QString AutoStartDir = Dir.filePath("autostart");
    TSettings Settings;
    std::unique_ptr<TFrmSoftwarePara> Window;
    int PortOpens = 0;
    int Layouts = 0;
    bool PortFails = false;
    QStringList Errors;

    TFrmSoftwarePara &Show()
    {
        TFrmSoftwarePara::TActions actions{
            [this] {
                ++PortOpens;
                if (PortFails)
                    throw ECommsError("Cannot open the serial port");
            },
            [this] { ++Layouts; },
            [this](const QString &text) { Errors << text; },
        };
        Window = std::make_unique<TFrmSoftwarePara>(Settings, SettingsFile,
                                                    TAutoStartEntry(Dir.filePath("none"), AutoStartDir, "/opt/orvan"),
                                                    QStringList{"/dev/ttyUSB0"}, actions);
        Window->show();
        return *Window;
    }

    template <typename T = QWidget>
    T *Find(const char *name) const
    {
        return Window->findChild<T *>(QLatin1String(name));
    }

    QString Shown(const char *combo) const { return Find<QComboBox>(combo)->currentText(); }
    void Save() { Find<QPushButton>("SaveSetBtn")->click(); }
    bool EntryExists() const { return QFileInfo::exists(AutoStartDir + "/Orvan 2000.desktop"); }
};

} // namespace

TEST_F(SoftwareParaWindow, ShowingSelectsTheStoredValuesAndCancelChangesNothing)
{
    Settings.PortInfo.ComName = "COM25";
    Settings.PortInfo.BaudRate = 4800;
    Settings.PortInfo.AutoStart = true;
    Settings.PortInfo.Protocol = 0;
    Show();
    EXPECT_EQ(Window->windowTitle(), "Software Parameter Setting");
    EXPECT_EQ(Find<QCheckBox>("crbAutoStartup")->text(), "Automatic Run Program At Windows Startup");
    EXPECT_EQ(Shown("cbxComName"), "COM25");
    EXPECT_EQ(Find<QComboBox>("cbxComName")->count(), 257);
    EXPECT_EQ(Shown("cbxBaudRate"), "4800");
    EXPECT_EQ(Shown("cbxcurProtocol"), "YD/T V3.1");
    EXPECT_EQ(Find<QComboBox>("cbxcurProtocol")->count(), 3);
    EXPECT_EQ(Shown("cbxPollMode"), "Fixed pace");
    EXPECT_EQ(Find<QLabel>("lbPollMode")->text(), "Poll pace:");
    EXPECT_TRUE(Find<QCheckBox>("crbAutoStartup")->isChecked());
    EXPECT_EQ(Settings.PortInfo.Protocol, 0);

    // Cancel changes nothing, and writes nothing.
    Find<QComboBox>("cbxcurProtocol")->setCurrentIndex(2);
    Find<QPushButton>("Button4")->click();
    EXPECT_EQ(Window->result(), QDialog::Rejected);
    EXPECT_EQ(Settings.PortInfo.Protocol, 0);
    EXPECT_FALSE(QFileInfo::exists(SettingsFile));
    EXPECT_EQ(PortOpens, 0);
}

TEST_F(SoftwareParaWindow, ChineseCaptions)
{
    Settings.Language = 1;
    Show();
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("软件参数设定"));
    EXPECT_EQ(Find<QLabel>("bsSkinLabel2")->text(), QString::fromUtf8("通讯串口"));
    EXPECT_EQ(Find<QLabel>("lbProtocol")->text(), QString::fromUtf8("通讯协议:"));
    EXPECT_EQ(Find<QLabel>("lbPollMode")->text(), QString::fromUtf8("轮询节拍:"));
    EXPECT_EQ(Find<QComboBox>("cbxPollMode")->itemText(1), QString::fromUtf8("总线节拍"));
    EXPECT_EQ(Find<QPushButton>("SaveSetBtn")->text(), QString::fromUtf8("保存设置"));
}

TEST_F(SoftwareParaWindow, SaveReopensThePortFollowsTheLayoutAndWritesTheFileAndTheEntry)
{
    WriteFileBytes(SettingsFile, "; kept\n[Other]\nKey=1\n");
    Settings.PortInfo.BaudRate = 19200;
    Show();
    EXPECT_EQ(Shown("cbxBaudRate"), "19200");
    Find<QComboBox>("cbxComName")->setCurrentText("/dev/ttyUSB0");
    Find<QComboBox>("cbxBaudRate")->setCurrentText("9600");
    Find<QCheckBox>("crbAutoStartup")->setChecked(true);
    Find<QComboBox>("cbxcurProtocol")->setCurrentText("Modbus");
    Find<QComboBox>("cbxPollMode")->setCurrentIndex(1);
    Save();

    EXPECT_EQ(Window->result(), QDialog::Accepted);
    EXPECT_EQ(PortOpens, 1);
    EXPECT_EQ(Layouts, 1);
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_TRUE(EntryExists());
    TSettings stored;
    LoadSettings(stored, SettingsFile);
    EXPECT_EQ(stored.PortInfo.ComName, "/dev/ttyUSB0");
    EXPECT_EQ(stored.PortInfo.BaudRate, 9600);
    EXPECT_EQ(stored.PortInfo.Protocol, 2);
    EXPECT_TRUE(stored.PortInfo.AutoStart);
    EXPECT_EQ(stored.PortInfo.PollMode, 1);
    EXPECT_EQ(stored.PortInfo.ReplyTimeout, 500);
    EXPECT_TRUE(ReadFileBytes(SettingsFile).contains("[Other]"));

    // Saved again with the box cleared, the entry goes.
    Show();
    Find<QCheckBox>("crbAutoStartup")->setChecked(false);
    Save();
    EXPECT_FALSE(EntryExists());
}

TEST_F(SoftwareParaWindow, PortThatCannotOpenKeepsTheWindowOpenAndTheFileUntouched)
{
    PortFails = true;
    Show();
    Find<QComboBox>("cbxComName")->setCurrentText("COM7");
    Save();
    EXPECT_EQ(Errors, QStringList{"Cannot open the serial port"});
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Layouts, 0);
    EXPECT_FALSE(QFileInfo::exists(SettingsFile));
    EXPECT_EQ(Settings.PortInfo.ComName, "COM7");

    PortFails = false;
    Save();
    EXPECT_FALSE(Window->isVisible());
    EXPECT_TRUE(QFileInfo::exists(SettingsFile));
}

TEST_F(SoftwareParaWindow, NetworkPortsAreTypedInCheckedAndKept)
{
    Settings.PortInfo.ComName = "COM1";
    Settings.PortInfo.Protocol = 2;
    Show();
    auto *port = Find<QComboBox>("cbxComName");
    ASSERT_TRUE(port->isEditable());

    const struct { const char *typed; int protocolItem; const char *errorPart; } refused[] = {
        {"tcp://10.0.0.5", 2, "the port number is missing"},
        {"tcp://10.0.0.5:70000", 2, "1 to 65535"},
        {"modbus-tcp://fd00::5:502", 2, "in brackets"},
        {"tcp://bad host:4001", 2, "no host name"},
        {"modbus-tcp://gw.site:502", 0, "Modbus protocol only"},
    };
    for (const auto &c : refused) {
        Errors.clear();
        port->setEditText(c.typed);
        Find<QComboBox>("cbxcurProtocol")->setCurrentIndex(c.protocolItem);
        Save();
        ASSERT_EQ(Errors.size(), 1) << c.typed;
        EXPECT_TRUE(Errors[0].contains(c.errorPart)) << Errors[0].toStdString();
        EXPECT_TRUE(Window->isVisible());
        EXPECT_EQ(Settings.PortInfo.ComName, "COM1") << "nothing applied for " << c.typed;
        EXPECT_EQ(PortOpens, 0);
    }
    EXPECT_FALSE(QFileInfo::exists(SettingsFile));

    Errors.clear();
    port->setEditText(" modbus-tcp://[fd00::5]:502 ");
    Find<QComboBox>("cbxcurProtocol")->setCurrentIndex(2);
    Save();
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_EQ(Settings.PortInfo.ComName, "modbus-tcp://[fd00::5]:502");
    EXPECT_EQ(PortOpens, 1);
    EXPECT_TRUE(ReadFileBytes(SettingsFile).contains("ComName=modbus-tcp://[fd00::5]:502"));

    // Shown again, the stored address is in the list and selected.
    Show();
    EXPECT_EQ(Shown("cbxComName"), "modbus-tcp://[fd00::5]:502");
}
