// The settings loader on any file content. Whatever it loads, saving and
// loading again must give the same settings.
#include "FuzzFiles.h"

#include "app/TSettings.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = QDir(FuzzScratchDir()).filePath(QStringLiteral("UserParaIni.ini"));
    WriteFuzzFile(path, data, size);

    TSettings loaded;
    LoadSettings(loaded, path);
    FUZZ_CHECK(loaded.RecInterval == 0 || loaded.RecInterval >= 50);

    SaveSettings(loaded, path);
    TSettings reloaded;
    LoadSettings(reloaded, path);
    FUZZ_CHECK(reloaded == loaded);
    return 0;
}
