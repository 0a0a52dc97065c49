#pragma once

#include "app/TAppPaths.h"
#include "app/TSettings.h"
#include "serial/TBusTransport.h"

#include <QObject>
#include <QString>

#include <memory>

class TDataLog;
class TEventLog;
class TPollEngine;
struct TMonitorState;

// The monitor without its windows: the program directory, the settings,
// the two log stores, the device list, the status records and the polling
// engine, with the start and close steps every front end shares. The
// desktop window and the headless service each own one.
class TMonitorCore : public QObject
{
    Q_OBJECT

public:
    // Runs the creation steps in the order the rest of the program relies
    // on: debug displays off, the directories, the settings, the log stores,
    // the device list, the status records. Never throws: a device list that
    // cannot be read is reported by DeviceListError.
    TMonitorCore(TMonitorState &state, const TAppPaths &paths, QObject *parent = nullptr);
    // The engine goes first and logs the program end while the log stores
    // still exist.
    ~TMonitorCore() override;

    // Why the device list could not be read at creation; empty when it could.
    const QString &DeviceListError() const { return FDeviceListError; }

    // Creates the polling engine, which logs the program start and opens
    // the port; a port that cannot be opened is reported by portOpenFailed
    // and left closed. Runs once.
    void StartEngine();
    TPollEngine *Engine() const { return FEngine.get(); }
    bool PortOpened() const;
    // Where the link to the bus stands (a network port's connection).
    TLinkStatus LinkStatus() const;
    // Closes the port if open, applies the port settings and opens it again.
    // Throws ECommsError when the port cannot be opened.
    void OpenPort();
    void ClosePort();

    // Writes the settings in memory to the file. Throws std::runtime_error
    // "Unable to write to <path>".
    void SaveSettings();
    // Whether the settings in memory differ from those last read from the
    // file, so that a save would change it.
    bool SettingsChangedSinceLoad() const;

    // The engine logs the program end, stops polling and closes the port.
    // Runs once; the destructor calls it when nobody did.
    void Shutdown();

    // Reads the settings file and the device list again, as the user left
    // them. The port is opened again when its settings changed or it is
    // closed. Returns what could not be read (empty when all was read); the
    // device list then stays as it was.
    QString Reload();

    // Clears the live values of every listed device whose values are stale,
    // as the device tree's refresh does in the window.
    void ClearStaleRecords();

    TMonitorState &State() { return FState; }
    const TMonitorState &State() const { return FState; }
    const TAppPaths &Paths() const { return FPaths; }
    TEventLog &EventLog() { return *FEventLog; }
    TDataLog &DataLog() { return *FDataLog; }

signals:
    void portOpenFailed(const QString &message);
    void portStateChanged(bool opened);
    void linkStatusChanged(const TLinkStatus &status);

private:
    static bool PortSettingsDiffer(const TPortInfo &a, const TPortInfo &b);
    QString ReloadDeviceList();
    void TryOpenPort();

    TMonitorState &FState;
    TAppPaths FPaths;
    TSettings FLoadedSettings;
    QString FDeviceListError;
    std::unique_ptr<TEventLog> FEventLog;
    std::unique_ptr<TDataLog> FDataLog;
    // Declared after the log stores so it goes first: its last act is to
    // log the program end.
    std::unique_ptr<TPollEngine> FEngine;
};
