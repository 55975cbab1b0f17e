#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/Texts.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using namespace texts;
using testsupport::readLog;
using testsupport::runRegistry;
using testsupport::TempDir;
using Strings = std::vector<std::string>;

// One pass of a category menu, which clears the screen first.
const std::string kCategory =
    "\f1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n";
// The main-menu pass for a digit 1 to 3, then the category menu it opens.
const std::string kOpen = kPass + kCategory;
const std::string kAdd = "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n\n";
const std::string kDialog = "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod\n";
const std::string kAsk = kSeparator + "hotite save date?? 1/2\n";
const std::string kDatePrompt = "\nEnter Date of birth: ";

Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const Strings kPerson = {"Name", "Surname", "Lastname", "Date of birth"};
const Strings kParty = {"Party name", "Year of entrance", "number", "Biography"};
const Strings kTeacher = {"Position", "stepene", "Speciality"};

// A record as the user types it and as the program prints it back.
struct Record {
    std::string header;
    Strings fields;  // as asked for; the degree is printed as "stepen"
    Strings values;
    bool isUnion = false;
    Strings works = {};

    // The answers, with refused dates before the date.
    std::string answers(const std::string& beforeDate = "") const {
        std::string text = values[0];
        for (std::size_t i = 1; i < values.size(); ++i) {
            text += " " + (i == 3 ? beforeDate : "") + values[i];
        }
        text += isUnion ? " " + std::to_string(works.size()) : "";
        for (const std::string& work : works) {
            text += " " + work;
        }
        return text;
    }
    // What the typing shows; afterDate follows the first date prompt.
    std::string entry(const std::string& afterDate = "") const {
        std::string text = "\f" + header + "\nEnter Name: ";
        for (std::size_t i = 1; i < fields.size(); ++i) {
            text += "\nEnter " + fields[i] + ": " + (i == 3 ? afterDate : "");
        }
        text += isUnion ? "\nEnter num works: " : "";
        for (std::size_t i = 0; i < works.size(); ++i) {
            text += "Enter the adress of taken spisk" + std::to_string(i) + ":\n";
        }
        return text;
    }
    std::string print() const {
        std::string text = header + "\n";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            text += (fields[i] == "stepene" ? "stepen" : fields[i]) + ": " + values[i] + "\n";
        }
        for (std::size_t i = 0; i < works.size(); ++i) {
            text += std::to_string(i) + " -> " + works[i] + "\n";
        }
        return text + (isUnion ? std::string(25, '-') + "\n" : "");
    }
    // As the listing shows it.
    std::string listed() const { return print() + kSeparator; }
};

Record teacher(const Strings& values) {
    return {"-----Teacher Member------", kPerson + kTeacher, values};
}
Record party(const Strings& values) {
    return {"-----partia Member------", kPerson + kParty, values};
}
Record unionMember(const Strings& values, const Strings& works) {
    return {"-----UNION Member------", kPerson + kParty + kTeacher, values, true, works};
}

const Record kIvan =
    teacher({"Ivan", "Petrov", "Sidorovich", "1970", "docent", "kandidat", "math"});
const Record kAnna =
    teacher({"Anna", "Orlova", "Ilinichna", "65535", "dekan", "doktor", "chemistry"});

TEST(StringCheck, CutWordIsTheWorkedExample) {
    TempDir dir;
    const auto run = runRegistry("4abcdefghijk 2\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kPass + kPrompt + kReport + kChoice + result("abcdefghi") + kPass);
    EXPECT_EQ(readLog(dir.path()), "abcdefghijk\n");
}

TEST(StringCheck, NineLettersPassTenAreLoggedOtherChoicesAskAgain) {
    TempDir dir;
    dir.write("name.txt", testsupport::asWritten("from an earlier run\n"));
    const auto run = runRegistry("4abcdefghi 4abcdefghij 3 x 1 short", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    // The blank after the first word is a key of its own: one more pass of the menu.
    EXPECT_EQ(run.out, kPass + kPrompt + result("abcdefghi") + kPass + kPass + kPrompt + kReport +
                           kChoice + kChoice + kChoice + kPrompt + result("short") + kPass);
    EXPECT_EQ(readLog(dir.path()), "from an earlier run\nabcdefghij\n");
}

TEST(Piped, EscOrEndOfInputAtTheMainMenuEndsWithZeroElsewhereWithOne) {
    const std::string unionFields = "1 A B C 5 P 1 2 Bio pos st sp ";
    const std::pair<std::string, int> runs[] = {{"\033", 0},
                                                {"", 0},
                                                {"x9\n", 0},
                                                {"4", 1},
                                                {"4 abcdefghijk 3 x", 1},
                                                {"11", 1},
                                                {"121 1 Ivan", 1},
                                                {"121 1 A B C 65536", 1},
                                                {"121 1 A B C 5 a b c", 1},
                                                {"13\n26", 1},
                                                {"321 " + unionFields + "2 alpha", 1}};
    for (const auto& [input, status] : runs) {
        TempDir dir;
        const auto run = runRegistry(input, dir.path(), 10.0);
        EXPECT_FALSE(run.timedOut) << input;
        EXPECT_EQ(run.exitCode, status) << input;
        EXPECT_EQ(run.out.find("NO founded the eror"), std::string::npos) << input;
        EXPECT_EQ(run.out.find("eror is no in memory"), std::string::npos) << input;
    }
}

TEST(Piped, AddingATeacherWithARefusedDate) {
    TempDir dir;
    const auto run =
        runRegistry("12 1 1 " + kIvan.answers("65536 ") + " 1 4 0 1\n0\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog +
                           kIvan.entry("previsheno MAX znachenie\n" + kDatePrompt) + kAsk +
                           kDialog + kAdd + kCategory + kIvan.listed() + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "previsheno MAX znachenie\n");
}

TEST(Piped, RegistriesAreIndependent) {
    TempDir dir;
    // The newline after each 0 is a main-menu key of its own: one more pass.
    const auto run = runRegistry(
        "12 1 1 " + kIvan.answers() + " 1 4 1 1 " + kAnna.answers() + " 1 4 0 0\n21\n0\n11\n0\033",
        dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + kIvan.entry() + kAsk + kDialog + kAdd + kDialog +
                           kAnna.entry() + kAsk + kDialog + kAdd + kCategory + kPass + kOpen +
                           "NO Element\n" + kCategory + kPass + kOpen + kIvan.listed() +
                           kAnna.listed() + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "");
}

// Per category: the digit that opens it and three records.
struct Category {
    char digit;
    Record first, second, third;
};
const Category kCategories[] = {
    {'1', kIvan, kAnna, teacher({"Gleb", "Sokolov", "Petrovich", "0", "lab", "no", "art"})},
    {'2', party({"Boris", "Kuznecov", "Olegovich", "0", "Zarya", "-5", "17", "bio"}),
     party({"Vera", "Lebedeva", "Pavlovna", "300", "Rassvet", "1990", "8", "x"}),
     party({"Gleb", "Sokolov", "Petrovich", "12", "Volna", "2001", "-3", "y"})},
    {'3',
     unionMember({"Olga", "Ivanova", "Petrovna", "7", "Unity", "1999", "42", "born", "prof", "dr",
                  "physics"},
                 {"alpha", "beta"}),
     unionMember(
         {"Petr", "Smirnov", "Ivanovich", "8", "Other", "2005", "1", "none", "lab", "no", "art"},
         {}),
     unionMember({"Gleb", "Sokolov", "Petrovich", "12", "Volna", "2001", "-3", "y", "a", "b", "c"},
                 {"gamma"})}};

class PipedCategory : public ::testing::TestWithParam<Category> {};

TEST_P(PipedCategory, RecordsAreAddedListedChangedAndDeleted) {
    const auto& [digit, first, second, third] = GetParam();
    TempDir dir;
    const auto run = runRegistry(std::string(1, digit) + "2 1 1 " + first.answers() + " 1 4 1 1 " +
                                     second.answers() + " 1 4 0 1\n3\n2 " + third.answers() +
                                     " 1 1\n4 1\n4 4 1\n0\033",
                                 dir.path());
    EXPECT_EQ(run.exitCode, 0);
    const std::string dell = "DELL\n";
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + first.entry() + kAsk + kDialog + kAdd + kDialog +
                           second.entry() + kAsk + kDialog + kAdd + kCategory + first.listed() +
                           second.listed() + kCategory + first.listed() + second.listed() +
                           "NUM\n" + third.entry() + kAsk + kCategory + first.listed() +
                           third.listed() + kCategory + dell + kCategory + third.listed() +
                           kCategory + dell + kCategory + dell + "NO element\n" + kCategory +
                           "NO Element\n" + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "");
}

INSTANTIATE_TEST_SUITE_P(AllThree, PipedCategory, ::testing::ValuesIn(kCategories),
                         [](const auto& info) { return std::string("Digit") + info.param.digit; });

}  // namespace
