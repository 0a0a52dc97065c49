#include "gui/model/TFrmProperty.h"

#include "gui/app/MainWindowFixture.h"
#include "gui/model/TFrmDeviceTree.h"
#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

struct PropertyWindow : ::testing::Test {
    TDeviceList List;
    int ListChanges = 0;
    QStringList Messages;
    std::unique_ptr<TFrmProperty> Window;

    void Monitor(int count)
    {
        for (int addr = 1; addr <= count; ++addr)
            List.AddDevice(TDeviceNode::Make(static_cast<quint8>(addr + 100), QStringLiteral("Unit %1").arg(addr)));
    }
    void Open(int treeIndex, quint8 language = 0)
    {
        Window = std::make_unique<TFrmProperty>(List, treeIndex, language, [this] { ++ListChanges; });
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        Window->show();
    }
    QComboBox *Addr() const { return Window->findChild<QComboBox *>(QStringLiteral("cbxAddr")); }
    QLineEdit *Name() const { return Window->findChild<QLineEdit *>(QStringLiteral("edtEquipName")); }
    void Confirm(const QString &name)
    {
        Name()->setText(name);
        Window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }
};

TEST_F(PropertyWindow, ShowsTheDeviceOfTheNodeOrOfItsParent)
{
    Monitor(90);
    const struct { int treeIndex; const char *name; const char *addr; } cases[] = {
        {0, "Unit 1", "101"},
        {3, "Unit 2", "102"},
        {4, "Unit 2", "102"},  // its real-time node
        {5, "Unit 2", "102"},  // its graph node
        {255, "Unit 86", "186"},
        {268, "Unit 90", "190"},
        {270, "", ""},         // beyond the list
        {-1, "", ""},
    };
    for (const auto &c : cases) {
        Open(c.treeIndex);
        EXPECT_EQ(Name()->text(), QString::fromUtf8(c.name)) << c.treeIndex;
        EXPECT_EQ(Addr()->currentText(), QString::fromUtf8(c.addr)) << c.treeIndex;
        EXPECT_FALSE(Addr()->isEnabled());
    }
}

TEST_F(PropertyWindow, RenamesTheDeviceOfEveryPositionLeavingNoTraceOfTheOldName)
{
    Monitor(90);
    List.SetDeviceName(267, TDeviceNode::StoredName(QString(40, 'o')));
    Open(268);
    Confirm(QStringLiteral("New"));
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Window->result(), QDialog::Accepted);
    EXPECT_EQ(QByteArray(List.At(90)->Name, 40), "New" + QByteArray(37, '\r'));
    EXPECT_EQ(List.At(90)->Addr, 190);
    EXPECT_EQ(List.At(89)->NameText(), "Unit 89");
    EXPECT_EQ(ListChanges, 1);
}

TEST_F(PropertyWindow, WithoutADeviceConfirmingChangesNoneButStillRebuilds)
{
    Monitor(2);
    Open(9);
    Confirm(QStringLiteral("Ghost"));
    EXPECT_EQ(List.At(1)->NameText(), "Unit 1");
    EXPECT_EQ(List.At(2)->NameText(), "Unit 2");
    EXPECT_EQ(ListChanges, 1);
}

TEST_F(PropertyWindow, RefusesAnEmptyOrTooLongName)
{
    Monitor(1);
    const struct { quint8 language; QString name; const char *message; } cases[] = {
        {0, "", "Equipment name is empty !"},
        {0, QString(41, 'a'), "Equipment name is too long !"},
        {0, QString(21, QChar(0x8BBE)), "Equipment name is too long !"},
        {1, "", "设备名不能为空"},
    };
    for (const auto &c : cases) {
        Messages.clear();
        Open(0, c.language);
        Confirm(c.name);
        EXPECT_EQ(Messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(Window->isVisible());
    }
    EXPECT_EQ(List.At(1)->NameText(), "Unit 1");
    EXPECT_EQ(ListChanges, 0);
}

TEST_F(PropertyWindow, Captions)
{
    Open(0, 1);
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("设备属性"));
    EXPECT_EQ(Window->findChild<QPushButton *>(QStringLiteral("btnOK"))->text(), QString::fromUtf8("确定"));
    Open(0, 0);
    EXPECT_EQ(Window->windowTitle(), "Equipment Property");
    EXPECT_EQ(Window->findChild<QPushButton *>(QStringLiteral("btnOK"))->text(), "OK");
}

// The main window's property button acts on the node selected in the tree.
TEST_F(MainWindowFixture, ThePropertyButtonRenamesTheSelectedDevice)
{
    Paths.CreateDirectories();
    QByteArray file;
    for (int addr = 1; addr <= 90; ++addr) {
        const TDeviceNode node = TDeviceNode::Make(static_cast<quint8>(addr), QStringLiteral("UPS%1").arg(addr));
        file.append(reinterpret_cast<const char *>(&node), sizeof node);
    }
    WriteFileBytes(Paths.RecordDir + QStringLiteral("TreeNode.dat"), file);
    Open();
    QString shown;
    Window->RunModal = [&](QDialog &dialog) {
        auto &window = dynamic_cast<TFrmProperty &>(dialog);
        auto *name = window.findChild<QLineEdit *>(QStringLiteral("edtEquipName"));
        shown = name->text();
        name->setText(QStringLiteral("Basement"));
        window.btnOKClick();
    };
    Window->Tree()->TreeView1Click(Window->Tree()->NodeAt(3 * 87 + 2)); // the 88th device's graph node
    Find<QPushButton>("btnProperty")->click();
    EXPECT_EQ(shown, "UPS88");
    EXPECT_TRUE(Window->Tree()->topLevelItem(87)->text(0).startsWith("Basement"));
    const QByteArray saved = ReadFileBytes(Paths.RecordDir + QStringLiteral("TreeNode.dat"));
    ASSERT_EQ(saved.size(), 90 * 42);
    EXPECT_EQ(saved.mid(87 * 42 + 1, 10), QByteArray("\x58") + "Basement\r");
}

} // namespace
