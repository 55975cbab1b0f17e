#include <gtest/gtest.h>

#include <string>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using testsupport::runRegistry;
using testsupport::TempDir;

const std::string kMenu =
    "MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit";
const std::string kPrompt = "Vvedite stroky (dlia proverki razmernosty)\n";
const std::string kReport = "eror in  razmer srtoki\n";
const std::string kChoice = "1-vvesti novyu storky\n 2-obrezat stroky \n";

std::string result(const std::string& word) {
    return "v rezultate polychenaia stroka  " + word + " !!!!!\n";
}

TEST(StringCheck, CutWordIsTheWorkedExample) {
    TempDir dir;
    const auto run = runRegistry("4abcdefghijk 2\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              kMenu + "\f" + kPrompt + kReport + kChoice + result("abcdefghi") + kMenu + "\f");
    EXPECT_EQ(testsupport::readLog(dir.path()), "abcdefghijk\n");
}

TEST(StringCheck, NineLettersAreAcceptedTenAreNot) {
    TempDir dir;
    const auto run = runRegistry("4abcdefghi 4abcdefghij 1 short", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    // The blank after the first word is a key of its own: one more pass of the menu.
    EXPECT_EQ(run.out, kMenu + "\f" + kPrompt + result("abcdefghi") + kMenu + "\f" + kMenu + "\f" +
                           kPrompt + kReport + kChoice + kPrompt + result("short") + kMenu + "\f");
    EXPECT_EQ(testsupport::readLog(dir.path()), "abcdefghij\n");
}

TEST(StringCheck, OtherChoicesAskAgainAndEveryRejectionIsLogged) {
    TempDir dir;
    dir.write("name.txt", testsupport::asWritten("from an earlier run\n"));
    const auto run = runRegistry("4 aaaaaaaaaaaa 3 x 1 bbbbbbbbbbbbb 2\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kMenu + "\f" + kPrompt + kReport + kChoice + kChoice + kChoice + kPrompt +
                           kReport + kChoice + result("bbbbbbbbb") + kMenu + "\f");
    EXPECT_EQ(testsupport::readLog(dir.path()),
              "from an earlier run\naaaaaaaaaaaa\nbbbbbbbbbbbbb\n");
}

TEST(StringCheck, LongWordIsLoggedWhole) {
    TempDir dir;
    const std::string word(200000, 'w');
    const auto run = runRegistry("4" + word + " 2\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(testsupport::readLog(dir.path()), word + "\n");
    EXPECT_NE(run.out.find(result("wwwwwwwww")), std::string::npos);
}

TEST(StringCheck, EndOfInputEndsWithStatusOne) {
    for (const std::string input : {"4", "4 abcdefghijk", "4 abcdefghijk 3 x"}) {
        TempDir dir;
        const auto run = runRegistry(input, dir.path(), 10.0);
        EXPECT_EQ(run.exitCode, 1) << input;
        EXPECT_FALSE(run.timedOut) << input;
        EXPECT_EQ(run.out.find("NO founded the eror"), std::string::npos) << input;
    }
}

TEST(MainMenu, EscOrEndOfInputEndsWithStatusZero) {
    for (const std::string input : {"\033", "", "x9\n"}) {
        TempDir dir;
        const auto run = runRegistry(input, dir.path());
        EXPECT_EQ(run.exitCode, 0) << input;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "name.txt"));
    }
    TempDir dir;
    // Every byte is one pass: the menu and a clear each.
    EXPECT_EQ(runRegistry("x9\033", dir.path()).out, kMenu + "\f" + kMenu + "\f" + kMenu + "\f");
}

}  // namespace
