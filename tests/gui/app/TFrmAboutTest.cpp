#include "gui/app/TFrmAbout.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AboutBox : public ::testing::Test
{
protected:
    std::unique_ptr<TFrmAbout> Box;
    int TraceOpened = 0;
    int TraceHidden = 0;

    TFrmAbout &Open(quint8 language = 0, const QString &version = QStringLiteral("1.0.0.4"))
    {
        Box = std::make_unique<TFrmAbout>(language, version);
        Box->OpenTrace = [this] { ++TraceOpened; };
        Box->HideTrace = [this] { ++TraceHidden; };
        Box->show();
        return *Box;
    }

    QLabel *Label(const char *name) const { return Box->findChild<QLabel *>(QLatin1String(name)); }
};

} // namespace

TEST_F(AboutBox, ProductLineCarriesTheVersionInEitherLanguage)
{
    Open(0);
    EXPECT_EQ(Box->windowTitle(), "About");
    EXPECT_EQ(Label("bsSkinStdLabel2")->text(), "PC Monitor Software Version 1.0.0.4");
    Open(1);
    EXPECT_EQ(Box->windowTitle(), QString::fromUtf8("关于"));
    EXPECT_EQ(Label("bsSkinStdLabel2")->text(), QString::fromUtf8("PC监控软件 Version 1.0.0.4"));
    Open(0, QString());
    EXPECT_EQ(Label("bsSkinStdLabel2")->text(), "PC Monitor Software Version ");
}

TEST_F(AboutBox, TypedAccessCodeOpensTheTraceWindowAndClosesTheBox)
{
    Open();
    QTest::keyClicks(Box.get(), "152093716");
    EXPECT_EQ(TraceOpened, 0);
    EXPECT_EQ(Box->findChild<QLineEdit *>("Edit1")->text(), "152093716");
    EXPECT_TRUE(Box->isVisible());

    QTest::keyClicks(Box.get(), "x52093716");
    EXPECT_EQ(TraceHidden, 1);
    EXPECT_EQ(TraceOpened, 1);
    EXPECT_FALSE(Box->isVisible());
    EXPECT_EQ(Box->Access().Digits(), "");
}

TEST_F(AboutBox, LetterHidesTheTraceWindowAndEscapeCloses)
{
    Open();
    QTest::keyClick(Box.get(), Qt::Key_A);
    EXPECT_EQ(TraceHidden, 1);
    EXPECT_TRUE(Box->isVisible());
    QTest::keyClick(Box.get(), Qt::Key_Shift); // no character: nothing happens
    EXPECT_EQ(TraceHidden, 1);
    QTest::keyClick(Box.get(), Qt::Key_Escape);
    EXPECT_FALSE(Box->isVisible());
    EXPECT_EQ(TraceOpened, 0);
}

TEST_F(AboutBox, FourthDoubleClickOnTheProductLineOpensTheTraceWindow)
{
    Open();
    QLabel *line = Label("bsSkinStdLabel2");
    for (int i = 0; i < 3; ++i)
        QTest::mouseDClick(line, Qt::LeftButton);
    EXPECT_TRUE(Label("lb1")->isVisible());
    EXPECT_EQ(Label("lb1")->text(), "3");
    EXPECT_EQ(TraceOpened, 0);
    QTest::mouseDClick(line, Qt::LeftButton);
    EXPECT_EQ(TraceOpened, 1);
    EXPECT_FALSE(Box->isVisible());
}

TEST_F(AboutBox, ClosesWhenAnotherWindowBecomesActive)
{
    Open();
    Box->FormDeactivate();
    EXPECT_FALSE(Box->isVisible());
}
