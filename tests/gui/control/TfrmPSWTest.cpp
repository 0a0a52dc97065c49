#include "gui/control/TfrmPSW.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct PromptFixture : ::testing::Test {
    QString ModelName;
    QStringList Messages;
    std::unique_ptr<TfrmPSW> Prompt;

    TfrmPSW &Open(quint8 language = 0)
    {
        Prompt = std::make_unique<TfrmPSW>(ModelName, language);
        Prompt->ShowMessage = [this](const QString &text) { Messages << text; };
        return *Prompt;
    }
    QLineEdit *Box() { return Prompt->findChild<QLineEdit *>("edtPSW"); }
    QPushButton *Button(const char *name) { return Prompt->findChild<QPushButton *>(name); }
    void Confirm(const QString &text)
    {
        Box()->setText(text);
        Button("btnOK")->click();
    }
};

TEST_F(PromptFixture, ThePasswordOpensAndBecomesTheModelName)
{
    Open();
    EXPECT_EQ(Prompt->windowTitle(), "Input Password");
    EXPECT_EQ(Button("btnCancle")->text(), "Cancle");
    Confirm(" LQW4817 ");
    EXPECT_EQ(Prompt->result(), QDialog::Accepted);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(ModelName, "LQW4817");
}

TEST_F(PromptFixture, ThreeWrongEntriesCancelWithTheMessageOfTheLanguage)
{
    Open(1);
    Prompt->show();
    Confirm("QMX960LD");
    EXPECT_TRUE(Prompt->isVisible());
    EXPECT_EQ(ModelName, "QMX960LD");
    Confirm("");
    EXPECT_EQ(ModelName, "");
    EXPECT_TRUE(Prompt->isVisible());
    Confirm("lqw4817");
    EXPECT_FALSE(Prompt->isVisible());
    EXPECT_EQ(Prompt->result(), QDialog::Rejected);
    EXPECT_EQ(Messages, QStringList(3, QString::fromUtf8("密码无效")));
}

TEST_F(PromptFixture, CancelLeavesTheModelName)
{
    ModelName = "QMX960LD";
    Open();
    Box()->setText("other");
    Button("btnCancle")->click();
    EXPECT_EQ(Prompt->result(), QDialog::Rejected);
    EXPECT_EQ(ModelName, "QMX960LD");
}

TEST_F(PromptFixture, EnterMovesToOkAndASecondEnterPressesIt)
{
    Open();
    Prompt->show();
    QTest::keyClicks(Box(), "LQW4817ABCDEF");
    EXPECT_EQ(Box()->text(), "LQW4817ABC"); // ten characters at most
    Box()->setText("LQW4817");
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_TRUE(Prompt->isVisible());
    EXPECT_EQ(Prompt->focusWidget(), Button("btnOK"));
    QTest::keyClick(Button("btnOK"), Qt::Key_Return);
    EXPECT_FALSE(Prompt->isVisible());
    EXPECT_EQ(Prompt->result(), QDialog::Accepted);
}

} // namespace
