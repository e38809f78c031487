#include "settings/save/BriefHoldRetry.h"

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(BriefHoldRetry, OnlyHoldsThatCanPassAreTriedAgain)
{
    TempFolder folder;
    folder.WriteFile("plain.cfg", "");
    folder.WriteFile("readonly.cfg", "");
    ASSERT_TRUE(SetFileAttributesA((folder / "readonly.cfg").c_str(), FILE_ATTRIBUTE_READONLY));
    const struct
    {
        DWORD error;
        std::string path;
        bool triedAgain;
    } cases[] = {
        {ERROR_SHARING_VIOLATION, folder / "plain.cfg", true},
        {ERROR_LOCK_VIOLATION, folder / "plain.cfg", true},
        {ERROR_ACCESS_DENIED, folder / "plain.cfg", true},
        {ERROR_ACCESS_DENIED, folder / "readonly.cfg", false},
        {ERROR_ACCESS_DENIED, folder.Path(), false},
        {ERROR_FILE_NOT_FOUND, folder / "plain.cfg", false},
        {ERROR_DISK_FULL, folder / "plain.cfg", false},
    };
    for (const auto& test : cases)
    {
        // A step that fails once with the error, then succeeds.
        int failures = 1;
        const auto step = [&]
        {
            SetLastError(test.error);
            return failures-- <= 0;
        };
        CBriefHoldRetry retry;
        EXPECT_EQ(test.triedAgain, retry.Run(test.path, step)) << test.error << " " << test.path;
        if (!test.triedAgain)
        {
            EXPECT_EQ(test.error, GetLastError()) << "the step's own reason is kept";
        }
    }
}

TEST(BriefHoldRetry, ALastingHoldFailsAndSpendsTheBudgetOfEveryLaterStep)
{
    TempFolder folder;
    folder.WriteFile("plain.cfg", "");
    int tries = 0;
    const auto held = [&tries]
    {
        ++tries;
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    };
    CBriefHoldRetry retry;
    EXPECT_FALSE(retry.Run(folder / "plain.cfg", held));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, GetLastError());
    EXPECT_GT(tries, 1);

    tries = 0;
    EXPECT_FALSE(retry.Run(folder / "plain.cfg", held));
    EXPECT_EQ(1, tries);
}
