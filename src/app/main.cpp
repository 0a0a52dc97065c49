#include <QApplication>
#include <QLabel>

#include "app/AppVersion.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Orvan 2000 ") + GetVersionString());
    placeholder.setWindowTitle(QStringLiteral("Orvan 2000"));
    placeholder.show();
    return app.exec();
}
