#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using testsupport::readLog;
using testsupport::runRegistry;
using testsupport::TempDir;

const std::string kMenu =
    "MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit";
// A pass of the main menu: the menu, then the clear that follows every key.
const std::string kPass = kMenu + "\f";
// One pass of a category menu, which clears the screen first.
const std::string kCategory =
    "\f1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n";
// The main-menu pass for a digit 1 to 3, then the category menu it opens.
const std::string kOpen = kPass + kCategory;
const std::string kAdd = "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n\n";
const std::string kDialog = "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod\n";
const std::string kSeparator = std::string(54, '-') + "\n";
const std::string kSave = "hotite save date?? 1/2\n";
const std::string kAsk = kSeparator + kSave;
const std::string kBad = "nepravelnii vvod->\n";
const std::string kDatePrompt = "\nEnter Date of birth: ";
const std::string kCountPrompt = "\nEnter num works: ";
const std::string kTooBig = "previsheno MAX znachenie\n";
const std::string kNoMemory = "eror in memory   \n";
const std::string kOutOfRange = " oshibka v granizah spiska\n";
const std::string kNum = "NUM\n";

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kPerson = {"Name", "Surname", "Lastname", "Date of birth"};
const std::vector<std::string> kParty = {"Party name", "Year of entrance", "number", "Biography"};
const std::vector<std::string> kTeacher = {"Position", "stepene", "Speciality"};

// A record as the user types it and as the program prints it back.
struct Record {
    std::string header;
    std::vector<std::string> fields;  // as asked for; the degree is printed as "stepen"
    std::vector<std::string> values;
    bool isUnion = false;
    std::vector<std::string> works = {};

    // The answers, with refused dates before the date and refused counts before the count.
    std::string answers(const std::string& beforeDate = "",
                        const std::string& beforeCount = "") const {
        std::string text = values[0];
        for (std::size_t i = 1; i < values.size(); ++i) {
            text += " " + (i == 3 ? beforeDate : "") + values[i];
        }
        if (isUnion) {
            text += " " + beforeCount + std::to_string(works.size());
        }
        for (const std::string& work : works) {
            text += " " + work;
        }
        return text;
    }
    // What the typing shows; afterDate and afterCount follow the first date and count prompts.
    std::string entry(const std::string& afterDate = "", const std::string& afterCount = "") const {
        std::string text = "\f" + header + "\nEnter Name: ";
        for (std::size_t i = 1; i < fields.size(); ++i) {
            text += "\nEnter " + fields[i] + ": " + (i == 3 ? afterDate : "");
        }
        if (isUnion) {
            text += kCountPrompt + afterCount;
        }
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

Record teacher(const std::vector<std::string>& values) {
    return {.header = "-----Teacher Member------", .fields = kPerson + kTeacher, .values = values};
}
Record party(const std::vector<std::string>& values) {
    return {.header = "-----partia Member------", .fields = kPerson + kParty, .values = values};
}
Record unionMember(const std::vector<std::string>& values, const std::vector<std::string>& works) {
    return {.header = "-----UNION Member------",
            .fields = kPerson + kParty + kTeacher,
            .values = values,
            .isUnion = true,
            .works = works};
}

const Record kIvan =
    teacher({"Ivan", "Petrov", "Sidorovich", "1970", "docent", "kandidat", "math"});
const Record kAnna =
    teacher({"Anna", "Orlova", "Ilinichna", "65535", "dekan", "doktor", "chemistry"});

TEST(PipedRegistry, AddingATeacherWithARefusedDate) {
    TempDir dir;
    const auto run =
        runRegistry("12 1 1 " + kIvan.answers("65536 ") + " 1 4 0 1\n0\033", dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + kIvan.entry(kTooBig + kDatePrompt) + kAsk +
                           kDialog + kAdd + kCategory + kIvan.listed() + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "previsheno MAX znachenie\n");
}

TEST(PipedRegistry, RegistriesAreIndependent) {
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

TEST(PipedRegistry, PartyMembersAreAddedChangedAndDeleted) {
    const Record first = party({"Boris", "Kuznecov", "Olegovich", "0", "Zarya", "-5", "17", "bio"});
    const Record second =
        party({"Vera", "Lebedeva", "Pavlovna", "300", "Rassvet", "1990", "8", "x"});
    const Record third = party({"Gleb", "Sokolov", "Petrovich", "12", "Volna", "2001", "-3", "y"});
    TempDir dir;
    const auto run =
        runRegistry("22 1 1 " + first.answers() + " 1 4 1 1 " + second.answers() +
                        " 1 4 0 1\n3\n2 " + third.answers() + " 1 1\n4 1\n4 4 4 1\n0\033",
                    dir.path());
    EXPECT_EQ(run.exitCode, 0);
    const std::string dell = "DELL\n";
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + first.entry() + kAsk + kDialog + kAdd + kDialog +
                           second.entry() + kAsk + kDialog + kAdd + kCategory + first.listed() +
                           second.listed() + kCategory + first.listed() + second.listed() + kNum +
                           third.entry() + kAsk + kCategory + first.listed() + third.listed() +
                           kCategory + dell + kCategory + third.listed() + kCategory + dell +
                           kCategory + dell + "NO element\n" + kCategory + dell + "NO element\n" +
                           kCategory + "NO Element\n" + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "");
}

TEST(PipedRegistry, UnionMembersKeepTheirWorksWhenAChangeIsDiscarded) {
    const Record kept = unionMember({"Olga", "Ivanova", "Petrovna", "7", "Unity", "1999", "42",
                                     "born", "prof", "dr", "physics"},
                                    {"alpha", "beta"});
    const Record dropped = unionMember(
        {"Petr", "Smirnov", "Ivanovich", "8", "Other", "2005", "1", "none", "lab", "no", "art"},
        {});
    TempDir dir;
    dir.write("name.txt", testsupport::asWritten("from an earlier run\n"));
    const auto run = runRegistry("32 1 1 " + kept.answers("", "-1 ") + " 1 3 4 0 3\n26 1 " +
                                     dropped.answers() + " 2 1\n4 1\n0\033",
                                 dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + kept.entry("", kNoMemory + kCountPrompt) + kAsk +
                           kDialog + kept.print() + kDialog + kAdd + kCategory + kept.listed() +
                           kNum + kOutOfRange + kNum + dropped.entry() + kAsk + kCategory +
                           kept.listed() + kCategory + "DELL\n" + kCategory + "NO Element\n" +
                           kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()),
              "from an earlier run\neror in memory   \n oshibka v granizah spiska\n");
}

TEST(PipedRegistry, NotANumberIsAnsweredAndAskedAgain) {
    TempDir dir;
    const auto run = runRegistry("1x 2 y 1 z 1 " + kIvan.answers("abc ") + " w 1 4 0 3\nq 1 " +
                                     kAnna.answers() + " 1 1\n0\033",
                                 dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kOpen + kBad + kCategory + kAdd + kBad + kAdd + kDialog + kBad + kDialog +
                           kIvan.entry(kBad + kDatePrompt) + kAsk + kBad + kSave + kDialog + kAdd +
                           kCategory + kIvan.listed() + kNum + kBad + kNum + kAnna.entry() + kAsk +
                           kCategory + kAnna.listed() + kCategory + kPass);
    EXPECT_EQ(readLog(dir.path()), "");
}

TEST(PipedRegistry, EndOfInputInsideACategoryEndsWithStatusOne) {
    const std::string person = "1 A B C ";
    const std::string unionFields = "1 A B C 5 P 1 2 Bio pos st sp ";
    const std::vector<std::string> inputs = {
        "1",                                              // category menu
        "11",                                             // a listing's key wait
        "12",                                             // ADD sub-menu
        "121",                                            // entry dialog
        "121 1 Ivan",                                     // a name typed, the surname missing
        "121 " + person,                                  // at the date
        "121 " + person + "65536",                        // after a refused date
        "121 " + person + "5 a b c",                      // at the save answer
        "121 " + person + "5 a b c 7",                    // after a save answer
        "13\n",                                           // after "NUM"
        "13\n26",                                         // after a position out of range
        "321 " + unionFields + "2 alpha",                 // in the list of works
        "321 " + unionFields + "-1",                      // at the count asked again
        "12 1 1 A B C 5 a b c 1 4 0 3\n1 X",              // retyping by position
        "12 1 1 A B C 5 a b c 1 4 0 3\n1 D E F 6 d e f",  // saving a change
    };
    for (const std::string& input : inputs) {
        TempDir dir;
        const auto run = runRegistry(input, dir.path(), 5.0);
        EXPECT_FALSE(run.timedOut) << input;
        EXPECT_EQ(run.exitCode, 1) << input;
        EXPECT_EQ(run.out.find("NO founded the eror"), std::string::npos) << input;
        EXPECT_EQ(run.out.find("eror is no in memory"), std::string::npos) << input;
    }
    TempDir dir;
    EXPECT_EQ(runRegistry("13\n", dir.path()).out, kOpen + "NO Element\n" + kNum);
    // The key wait of a listing simply returns; the menu then finds the end.
    EXPECT_EQ(runRegistry("11", dir.path()).out, kOpen + "NO Element\n" + kCategory);
    const auto run = runRegistry("12 1 1 " + kIvan.answers() + " 1 4 0 1", dir.path(), 5.0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, kOpen + kAdd + kDialog + kIvan.entry() + kAsk + kDialog + kAdd + kCategory +
                           kIvan.listed() + kCategory);
}

}  // namespace
