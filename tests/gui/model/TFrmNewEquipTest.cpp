#include "gui/model/TFrmNewEquip.h"

#include "gui/app/MainWindowFixture.h"
#include "gui/model/TFrmDeviceTree.h"
#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

struct NewEquipWindow : ::testing::Test {
    TDeviceList List;
    int ListChanges = 0;
    QStringList Messages;
    std::unique_ptr<TFrmNewEquip> Window;

    void Monitor(int first, int last)
    {
        for (int addr = first; addr <= last; ++addr)
            List.AddDevice(TDeviceNode::Make(static_cast<quint8>(addr), QStringLiteral("x")));
    }
    void Open(quint8 language = 0)
    {
        Window = std::make_unique<TFrmNewEquip>(List, language, [this] { ++ListChanges; });
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        Window->show();
    }
    QComboBox *Addr() const { return Window->findChild<QComboBox *>(QStringLiteral("cbxAddr")); }
    QLineEdit *Name() const { return Window->findChild<QLineEdit *>(QStringLiteral("edtEquipName")); }
    // Fills the form and confirms; addr empty leaves the address unchosen.
    void Confirm(const QString &name, const QString &addr)
    {
        Name()->setText(name);
        Addr()->setCurrentIndex(Addr()->findText(addr));
        Window->findChild<QPushButton *>(QStringLiteral("btnNew"))->click();
    }
};

TEST_F(NewEquipWindow, OffersTheAddressesNoDeviceUsesWithNoneChosen)
{
    Monitor(1, 2);
    List.AddDevice(TDeviceNode::Make(5, QStringLiteral("x")));
    Open();
    ASSERT_EQ(Addr()->count(), 249);
    EXPECT_EQ(Addr()->itemText(0), "3");
    EXPECT_EQ(Addr()->itemText(1), "4");
    EXPECT_EQ(Addr()->itemText(2), "6");
    EXPECT_EQ(Addr()->itemText(248), "252");
    EXPECT_EQ(Addr()->currentIndex(), -1);
    EXPECT_FALSE(Addr()->isEditable());
}

TEST_F(NewEquipWindow, ChecksTheNameAndTheAddressInTurn)
{
    const struct { quint8 language; QString name; const char *addr; const char *message; } cases[] = {
        {0, "", "", "Equipment Name is empty !"},
        {0, "", "7", "Equipment Name is empty !"},
        {0, QString(41, 'a'), "", "Equipment Address is empty !"},
        {0, QString(41, 'a'), "7", "Equipment name is too long !"},
        {0, QString(21, QChar(0x8BBE)), "7", "Equipment name is too long !"},
        {1, "", "7", "设备名不能为空"},
        {1, "a", "", "设备地址不能为空"},
        {1, QString(41, 'a'), "7", "设备名过长"},
    };
    for (const auto &c : cases) {
        Messages.clear();
        Open(c.language);
        Confirm(c.name, QLatin1String(c.addr));
        EXPECT_EQ(Messages, QStringList{QString::fromUtf8(c.message)}) << c.name.toStdString() << "/" << c.addr;
        EXPECT_TRUE(Window->isVisible());
    }
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(ListChanges, 0);
}

TEST_F(NewEquipWindow, AFullListOffersNoAddress)
{
    Monitor(1, 252);
    Open();
    EXPECT_EQ(Addr()->count(), 0);
    Confirm(QStringLiteral("spare"), QString());
    EXPECT_EQ(Messages, QStringList{"Equipment Address is empty !"});
}

TEST_F(NewEquipWindow, AddsTheDeviceWithItsNamePaddedAndCloses)
{
    Open();
    const QString forty(40, 'n');
    Confirm(forty, QStringLiteral("9"));
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Window->result(), QDialog::Accepted);
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.At(1)->Addr, 9);
    EXPECT_EQ(QByteArray(List.At(1)->Name, 40), forty.toLatin1());
    EXPECT_EQ(ListChanges, 1);

    Open();
    EXPECT_EQ(Addr()->findText("9"), -1);
    Confirm(QString::fromUtf8("机房"), QStringLiteral("3"));
    EXPECT_EQ(QByteArray(List.At(2)->Name, 40), QByteArray::fromHex("bbfab7bf") + QByteArray(36, '\r'));
}

TEST_F(NewEquipWindow, CancelChangesNothing)
{
    Open();
    Name()->setText(QStringLiteral("a"));
    Addr()->setCurrentIndex(0);
    Window->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(Window->result(), QDialog::Rejected);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(ListChanges, 0);
}

TEST_F(NewEquipWindow, Captions)
{
    const struct { quint8 language; const char *title, *name, *addr, *confirm, *cancel; } cases[] = {
        {0, "Append Equipment", "Equipment Name:", "Equipment Address:", "Append", "Cancel"},
        {1, "添加要监控的设备", "设备名:", "设备地址:", "添加", "取消"},
    };
    for (const auto &c : cases) {
        Open(c.language);
        auto text = [&](const char *name) { return Window->findChild<QWidget *>(QLatin1String(name))->property("text").toString(); };
        EXPECT_EQ(Window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(text("lblEquipName"), QString::fromUtf8(c.name));
        EXPECT_EQ(text("lblEquipAddr"), QString::fromUtf8(c.addr));
        EXPECT_EQ(text("btnNew"), QString::fromUtf8(c.confirm));
        EXPECT_EQ(text("btnCancel"), QString::fromUtf8(c.cancel));
    }
}

// The main window's add button: the new device shows in the tree and the file.
TEST_F(MainWindowFixture, TheAddButtonAddsADeviceToTheTreeAndTheFile)
{
    WriteDevices({1, 2});
    Open();
    Window->RunModal = [](QDialog &dialog) {
        auto &window = dynamic_cast<TFrmNewEquip &>(dialog);
        window.findChild<QLineEdit *>(QStringLiteral("edtEquipName"))->setText(QStringLiteral("Roof"));
        auto *addr = window.findChild<QComboBox *>(QStringLiteral("cbxAddr"));
        addr->setCurrentIndex(addr->findText(QStringLiteral("7")));
        window.btnNewClick();
    };
    Find<QPushButton>("btnNew")->click();
    ASSERT_EQ(Window->Tree()->topLevelItemCount(), 3);
    EXPECT_TRUE(Window->Tree()->topLevelItem(2)->text(0).startsWith("Roof"));
    const QByteArray file = ReadFileBytes(Paths.RecordDir + QStringLiteral("TreeNode.dat"));
    ASSERT_EQ(file.size(), 126);
    EXPECT_EQ(file[84], 6); // the new device's node index
    EXPECT_EQ(file[85], 7);
    EXPECT_EQ(file.mid(86, 5), QByteArray("Roof\r"));
}

} // namespace
