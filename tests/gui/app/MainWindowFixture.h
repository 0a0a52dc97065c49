#pragma once

#include "app/TAppPaths.h"
#include "app/TMonitorState.h"
#include "gui/app/TFrmMain.h"
#include "model/TDeviceNode.h"
#include "support/DeviceListFile.h"
#include "support/FileBytes.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A main window in a scratch program directory: its settings file and
// device list are written first, message boxes answer from the fields
// below, and nothing waits for a user.
class MainWindowFixture : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    TAppPaths Paths = TAppPaths::Beside(Dir.path());
    TMonitorState State;
    std::unique_ptr<TFrmMain> Window;

    bool ExitAnswer = false;
    QStringList Questions;
    QStringList Messages;
    QStringList Errors;
    // Class names of the windows shown modally, in order; OnModal, when
    // set, plays the user of each (it is shown, not run).
    QStringList ModalWindows;
    std::function<void(QDialog &window)> OnModal;

    void WriteSettings(const QByteArray &ini) { WriteFileBytes(Paths.SettingsFile, ini); }

    void WriteDevices(std::initializer_list<quint8> addrs)
    {
        Paths.CreateDirectories();
        WriteDeviceListFile(Paths.RecordDir, addrs);
    }

    TFrmMain &Open(const QString &versionText = QStringLiteral("1.0.0.4"))
    {
        Window = std::make_unique<TFrmMain>(State, Paths, versionText);
        Window->AskYesNo = [this](const QString &text) {
            Questions << text;
            return ExitAnswer;
        };
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        Window->ShowError = [this](const QString &text) { Errors << text; };
        Window->RunModal = [this](QDialog &window) {
            ModalWindows << QString::fromLatin1(window.metaObject()->className());
            if (OnModal) {
                window.show();
                OnModal(window);
            }
        };
        Window->AutoStartEntry = TAutoStartEntry(Dir.filePath("xdg/system"), Dir.filePath("xdg/user"),
                                                 Dir.filePath("orvan"));
        return *Window;
    }

    template <typename T = QWidget>
    T *Find(const char *name) const
    {
        return Window->findChild<T *>(QLatin1String(name));
    }
};
