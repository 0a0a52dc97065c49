// The main window's ways to the software parameter window, the About box
// and, through it, the Trace window.
#include "gui/app/TFrmMain.h"

#include "MainWindowFixture.h"
#include "gui/protocol/TFrmCom.h"
#include "protocol/TPollEngine.h"
#include "support/PtyPair.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

class MainServiceWindows : public MainWindowFixture
{
protected:
    void Trigger(const char *action) { Window->findChild<QAction *>(QLatin1String(action))->trigger(); }

    static void Click(QDialog &window, const char *button)
    {
        window.findChild<QPushButton *>(QLatin1String(button))->click();
    }
};

} // namespace

TEST_F(MainServiceWindows, PortThatFailsAtStartLeadsToTheSoftwareParameterWindow)
{
    WriteSettings("[CommPort]\nComName=/dev/orvan-no-such-port\nProtocol=0\n");
    Open();
    OnModal = [&](QDialog &window) {
        Click(window, "SaveSetBtn"); // the same port fails again: the window stays
        EXPECT_TRUE(window.isVisible());
        Click(window, "Button4");
    };
    Window->StartEngine();

    EXPECT_EQ(ModalWindows, QStringList{"TFrmSoftwarePara"});
    ASSERT_EQ(Errors.size(), 2);
    EXPECT_EQ(Errors[0], "There was an error to open serial port,please check the serial port settings !");
    EXPECT_FALSE(Window->PortOpened());
    EXPECT_EQ(State.Settings.PortInfo.Protocol, 0); // showing and cancelling the window changes nothing
    EXPECT_EQ(ReadFileBytes(Paths.SettingsFile), "[CommPort]\nComName=/dev/orvan-no-such-port\nProtocol=0\n");
}

TEST_F(MainServiceWindows, SavedSoftwareParametersReopenThePortAndShowTheControlMenu)
{
    PtyPair line;
    WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=0\n").arg(line.SlavePath()).toUtf8());
    Open();
    Window->StartEngine();
    ASSERT_TRUE(Window->PortOpened());
    Window->StatusPass();
    QAction *control = Find<QMenu>("mni300")->menuAction();
    EXPECT_FALSE(control->isVisible());

    OnModal = [&](QDialog &window) {
        EXPECT_EQ(window.findChild<QComboBox *>("cbxComName")->currentText(), line.SlavePath());
        window.findChild<QComboBox *>("cbxcurProtocol")->setCurrentText("Modbus");
        Click(window, "SaveSetBtn");
    };
    Trigger("mni102");
    EXPECT_EQ(ModalWindows, QStringList{"TFrmSoftwarePara"});
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_TRUE(Window->PortOpened());
    EXPECT_EQ(Find<QLabel>("lblProtocol")->text(), "2");
    Window->StatusPass();
    EXPECT_TRUE(control->isVisible());
    TSettings stored;
    LoadSettings(stored, Paths.SettingsFile);
    EXPECT_EQ(stored.PortInfo.Protocol, 2);
    EXPECT_EQ(stored.PortInfo.ComName, line.SlavePath());
}

TEST_F(MainServiceWindows, AccessCodeOnTheAboutBoxShowsTheTraceWindowAndALetterHidesIt)
{
    PtyPair line;
    WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=2\n").arg(line.SlavePath()).toUtf8());
    Open();
    Window->StartEngine();
    OnModal = [](QDialog &window) { QTest::keyClicks(&window, "52093716"); };
    Trigger("mni501");
    EXPECT_EQ(ModalWindows, QStringList{"TFrmAbout"});
    ASSERT_NE(Window->TraceWindow(), nullptr);
    EXPECT_TRUE(Window->TraceWindow()->isVisible());
    EXPECT_TRUE(Window->Engine()->TraceVisible);

    OnModal = [](QDialog &window) {
        QTest::keyClick(&window, Qt::Key_Z);
        EXPECT_TRUE(window.isVisible());
    };
    Trigger("mni501");
    EXPECT_FALSE(Window->TraceWindow()->isVisible());
    EXPECT_FALSE(Window->Engine()->TraceVisible);
}
