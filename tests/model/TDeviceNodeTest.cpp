#include "model/TDeviceNode.h"

#include <gtest/gtest.h>

namespace {

QByteArray NameBytes(const TDeviceNode &node)
{
    return QByteArray(node.Name, TDeviceNode::kNameSize);
}

} // namespace

TEST(TDeviceNode, StoredNameIsPaddedWithCarriageReturnsOrCut)
{
    EXPECT_EQ(NameBytes(TDeviceNode::Make(7, u"UPS")), QByteArray("UPS") + QByteArray(37, '\r'));
    const QString fifty(50, QLatin1Char('x'));
    EXPECT_EQ(NameBytes(TDeviceNode::Make(7, fifty)), QByteArray(40, 'x'));
    // Two bytes per Chinese character: 20 of them fill the field exactly.
    const QString twenty(20, QChar(0x4E2D));
    EXPECT_EQ(TDeviceNode::Make(7, twenty).NameText(), twenty);
}

TEST(TDeviceNode, NameTextStopsAtPaddingOrZeroByte)
{
    const QString chinese = QStringLiteral(u"机房UPS");
    EXPECT_EQ(TDeviceNode::Make(1, chinese).NameText(), chinese);

    TDeviceNode node = TDeviceNode::Make(1, QString(40, QLatin1Char('a')));
    EXPECT_EQ(node.NameText(), QString(40, QLatin1Char('a')));
    node.SetName("bc");
    EXPECT_EQ(node.NameText(), QStringLiteral("bc"));
    // Nothing of the longer old name is left behind the new one.
    EXPECT_EQ(NameBytes(node), QByteArray("bc") + QByteArray(38, '\0'));
}
