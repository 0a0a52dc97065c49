#include "app/TAboutAccess.h"

#include <gtest/gtest.h>

namespace {

using Action = TAboutAccess::TKeyAction;

// The action of the last character of keys typed one after another.
Action Type(TAboutAccess &access, const QString &keys)
{
    Action last = Action::None;
    for (QChar c : keys)
        last = access.KeyPress(c);
    return last;
}

} // namespace

TEST(TAboutAccessTest, AccessCodeCountsOnlyFromAFreshStart)
{
    const struct {
        const char *keys;
        Action last;
        const char *digitsAfter;
    } cases[] = {
        {"52093716", Action::OpenTrace, "52093716"},
        {"152093716", Action::None, "152093716"},  // nine digits collected
        {"1x52093716", Action::OpenTrace, "52093716"}, // the letter cleared the 1
        {"12345678901", Action::None, ""},        // the eleventh digit empties
        {"1234567890152093716", Action::OpenTrace, "52093716"},
        {"5209371", Action::None, "5209371"},
        {"5209 3716", Action::None, "3716"},
        {"5209\x1b", Action::Close, "5209"},      // Escape keeps the digits
        {"7a", Action::HideTrace, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys);
        TAboutAccess access;
        EXPECT_EQ(Type(access, QString::fromLatin1(c.keys)), c.last);
        EXPECT_EQ(access.Digits(), QString::fromLatin1(c.digitsAfter));
    }
}

TEST(TAboutAccessTest, FourthDoubleClickOpensAndResetStartsOver)
{
    TAboutAccess access;
    EXPECT_FALSE(access.DoubleClick());
    EXPECT_FALSE(access.DoubleClick());
    EXPECT_FALSE(access.DoubleClick());
    EXPECT_EQ(access.DoubleClicks(), 3);
    EXPECT_TRUE(access.DoubleClick());

    Type(access, "520");
    access.Reset();
    EXPECT_EQ(access.DoubleClicks(), 0);
    EXPECT_EQ(access.Digits(), "");
    EXPECT_FALSE(access.DoubleClick());
}
