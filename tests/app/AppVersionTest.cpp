#include "app/AppVersion.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

TEST(AppVersion, IsFourDottedNumbers)
{
    const QRegularExpression fourNumbers(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"));
    EXPECT_TRUE(fourNumbers.match(GetVersionString()).hasMatch()) << GetVersionString().toStdString();
}
