#include "control/TPasswordCheck.h"

#include <gtest/gtest.h>

namespace {

using TOutcome = TPasswordCheck::TOutcome;

TEST(TPasswordCheckTest, EveryConfirmedEntryBecomesTheModelName)
{
    const struct { const char *entry; TOutcome outcome; const char *modelName; } cases[] = {
        {"LQW4817", TOutcome::Accepted, "LQW4817"},
        {"  LQW4817\t", TOutcome::Accepted, "LQW4817"},      // trimmed first
        {"\x01LQW4817\x1f", TOutcome::Accepted, "LQW4817"},  // control characters too
        {"lqw4817", TOutcome::TryAgain, "lqw4817"},          // case counts
        {"LQW 4817", TOutcome::TryAgain, "LQW 4817"},        // inner blanks stay
        {"QMX960LD", TOutcome::TryAgain, "QMX960LD"},
        {"   ", TOutcome::TryAgain, ""},
    };
    for (const auto &c : cases) {
        QString modelName = QStringLiteral("before");
        TPasswordCheck check(modelName);
        EXPECT_EQ(check.Confirm(QString::fromLatin1(c.entry)), c.outcome) << c.entry;
        EXPECT_EQ(modelName, QString::fromLatin1(c.modelName)) << c.entry;
    }
}

TEST(TPasswordCheckTest, TheThirdWrongEntryGivesUp)
{
    QString modelName;
    TPasswordCheck check(modelName);
    EXPECT_EQ(check.Confirm("a"), TOutcome::TryAgain);
    EXPECT_EQ(check.Confirm("b"), TOutcome::TryAgain);
    EXPECT_EQ(check.Confirm("c"), TOutcome::GiveUp);
    EXPECT_EQ(check.WrongEntries(), 3);

    // A right entry after wrong ones still opens.
    TPasswordCheck second(modelName);
    second.Confirm("a");
    second.Confirm("b");
    EXPECT_EQ(second.Confirm("LQW4817"), TOutcome::Accepted);
}

TEST(TPasswordCheckTest, MessageFollowsTheLanguage)
{
    EXPECT_EQ(TPasswordCheck::InvalidText(0), "Password is invalid.");
    EXPECT_EQ(TPasswordCheck::InvalidText(1), QString::fromUtf8("密码无效"));
    EXPECT_EQ(TPasswordCheck::InvalidText(2), "Password is invalid.");
}

} // namespace
