#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "records/partia.h"
#include "records/proiz.h"
#include "records/teacher.h"
#include "support/StreamSwap.h"
#include "support/TempDir.h"

namespace {

using testsupport::InTempDir;
using testsupport::StreamSwap;
using Words = std::vector<std::string>;

std::string lines(std::initializer_list<std::string> texts) {
    std::string all;
    for (const std::string& text : texts) {
        all += text + "\n";
    }
    return all;
}

const std::string kDate = "\nEnter Date of birth: ";
const std::string kRefused = "previsheno MAX znachenie\n";
const std::string kNotNumber = "nepravelnii vvod->\n";
const std::string kPostAsk = "\nEnter Position: \nEnter stepene: \nEnter Speciality: ";
const std::string kPartyAsk =
    "\nEnter Party name: \nEnter Year of entrance: \nEnter number: \nEnter Biography: ";
const std::string kCount = "\nEnter num works: ";
const std::string kEnd(25, '-');
const std::string kPerson = "Ivan Petrov Sidorovich ";
const std::string kPost = "docent kandidat physics";
const std::string kParty = "KPSS -5 42 short";

std::string postPrint(const std::string& p, const std::string& st, const std::string& sp) {
    return lines({"Position: " + p, "stepen: " + st, "Speciality: " + sp});
}
std::string partyPrint(const std::string& party, int year, int number, const std::string& bio) {
    return lines({"Party name: " + party, "Year of entrance: " + std::to_string(year),
                  "number: " + std::to_string(number), "Biography: " + bio});
}

// Per kind: the header, what is typed after the date with the prompts that ask
// for it, and how those fields print, typed and empty.
struct TeacherKind {
    using R = teacher;
    static constexpr const char* header = "-----Teacher Member------";
    static inline const std::string rest = kPost, asks = kPostAsk;
    static inline const std::string typed = postPrint("docent", "kandidat", "physics");
    static inline const std::string empty = postPrint("", "", "");
};
struct PartiaKind {
    using R = partia;
    static constexpr const char* header = "-----partia Member------";
    static inline const std::string rest = kParty, asks = kPartyAsk;
    static inline const std::string typed = partyPrint("KPSS", -5, 42, "short");
    static inline const std::string empty = partyPrint("", 0, 0, "");
};
struct ProizKind {
    using R = proiz;
    static constexpr const char* header = "-----UNION Member------";
    static inline const std::string rest = kParty + " " + kPost + " 1 lab";
    static inline const std::string asks =
        kPartyAsk + kPostAsk + kCount + "Enter the adress of taken spisk0:\n";
    static inline const std::string typed =
        PartiaKind::typed + TeacherKind::typed + lines({"0 -> lab", kEnd});
    static inline const std::string empty = PartiaKind::empty + TeacherKind::empty + lines({kEnd});
};

template <class R>
std::string printed(R& record) {
    StreamSwap io("");
    record.vivod();
    return io.output();
}

// What vvod showed, and what it left unread.
template <class R>
std::pair<std::string, std::string> enter(R& record, const std::string& input) {
    StreamSwap io(input);
    record.vvod();
    return {io.output(), io.rest()};
}

template <class K>
class RecordKind : public ::testing::Test {
  protected:
    using R = typename K::R;
    // What vvod shows up to its first date prompt.
    const std::string start = std::string("\f") + K::header + "\n" +
                              "Enter Name: \nEnter Surname: \nEnter Lastname: " + kDate;
    static std::string print(int date) {
        return lines({K::header, "Name: Ivan", "Surname: Petrov", "Lastname: Sidorovich",
                      "Date of birth: " + std::to_string(date)}) +
               K::typed;
    }
    InTempDir dir;
};
using Kinds = ::testing::Types<TeacherKind, PartiaKind, ProizKind>;
TYPED_TEST_SUITE(RecordKind, Kinds);

TYPED_TEST(RecordKind, DefaultRecordPrintsEmptyFields) {
    typename TestFixture::R record;
    EXPECT_EQ(printed(record),
              lines({TypeParam::header, "Name: ", "Surname: ", "Lastname: ", "Date of birth: 0"}) +
                  TypeParam::empty);
}

TYPED_TEST(RecordKind, FullEntryAsksForEveryFieldAndPrintsIt) {
    typename TestFixture::R record;
    // Two words on one line answer two prompts; a word after the last answer stays unread.
    const auto [shown, unread] =
        enter(record, "Ivan Petrov\nSidorovich 1970\n" + TypeParam::rest + " next");
    EXPECT_EQ(shown, this->start + TypeParam::asks);
    EXPECT_EQ(unread, " next");
    EXPECT_EQ(printed(record), this->print(1970));
    EXPECT_FALSE(std::filesystem::exists("name.txt"));
}

TYPED_TEST(RecordKind, DateStepStoresModulo65536AndAsksAgainAfterARefusal) {
    const std::string refused = kRefused + kDate, notNumber = kNotNumber + kDate;
    // What is typed at the date, what follows its first prompt, the date kept, the log.
    const std::tuple<std::string, std::string, int, std::string> rows[] = {
        {"65535", "", 65535, ""},
        {"-1", "", 65535, ""},
        {"0", "", 0, ""},
        {"65536 500", refused, 500, kRefused},
        {"65536 70000 2147483647 7", refused + refused + refused, 7,
         kRefused + kRefused + kRefused},
        {"x19 99999999999 1970", notNumber + notNumber, 1970, ""}};
    for (const auto& [typed, shown, date, log] : rows) {
        std::filesystem::remove("name.txt");
        typename TestFixture::R record;
        EXPECT_EQ(enter(record, kPerson + typed + " " + TypeParam::rest).first,
                  this->start + shown + TypeParam::asks)
            << typed;
        EXPECT_EQ(printed(record), this->print(date)) << typed;
        EXPECT_EQ(this->dir.log(), log) << typed;
    }
}

TYPED_TEST(RecordKind, CopiesAndAssignmentsAreIndependent) {
    typename TestFixture::R source, assigned;
    enter(source, kPerson + "1970 " + TypeParam::rest);
    enter(assigned, "Olga Ivanova Petrovna 1 " + TypeParam::rest);
    const std::string before = printed(source);
    typename TestFixture::R copy(source);
    assigned = source;
    EXPECT_EQ(printed(copy), before);
    EXPECT_EQ(printed(assigned), before);

    enter(copy, "Olga Ivanova Petrovna 2 " + TypeParam::rest);
    enter(assigned, "Anna Ivanova Petrovna 3 " + TypeParam::rest);
    EXPECT_EQ(copy.name + assigned.name, "OlgaAnna");
    EXPECT_EQ(printed(source), before);
    auto& self = source;
    source = self;
    EXPECT_EQ(printed(source), before);
}

TEST(PartiaEntry, NotANumberAtTheYearIsAskedAgain) {
    InTempDir dir;
    partia record;
    const std::string year = "\nEnter Year of entrance: ";
    EXPECT_NE(enter(record, kPerson + "1 KPSS nineteen 1985 42 short")
                  .first.find(year + kNotNumber + year + "\nEnter number: "),
              std::string::npos);
    EXPECT_EQ(record.year, 1985);
}

class ProizEntry : public ::testing::Test {
  protected:
    const std::string upToCount = kPerson + "1 " + kParty + " " + kPost + " ";
    const std::string work0 = "Enter the adress of taken spisk0:\n";
    InTempDir dir;
    proiz record;
};

TEST_F(ProizEntry, WorksArePromptedByNumberPrintedInOrderAndOwnedByEachCopy) {
    EXPECT_TRUE(enter(record, upToCount + "2 alpha beta")
                    .first.ends_with(kCount + work0 + "Enter the adress of taken spisk1:\n"));
    EXPECT_TRUE(printed(record).ends_with(lines({"physics", "0 -> alpha", "1 -> beta", kEnd})));
    proiz copy(record), assigned;
    assigned = record;
    EXPECT_TRUE(enter(record, upToCount + "0").first.ends_with("Speciality: " + kCount));
    EXPECT_TRUE(printed(record).ends_with("Speciality: physics\n" + kEnd + "\n"));
    EXPECT_EQ(copy.adress, (Words{"alpha", "beta"}));
    EXPECT_EQ(assigned.adress, (Words{"alpha", "beta"}));
    EXPECT_EQ(assigned.works, 2);
}

TEST_F(ProizEntry, BadCountsAreAnsweredAndAskedAgain) {
    // A count for which no list can be made is reported and logged; a word is not a count.
    EXPECT_TRUE(enter(record, upToCount + "-3 many 1 gamma")
                    .first.ends_with(kCount + "eror in memory   \n" + kCount + kNotNumber + kCount +
                                     work0));
    EXPECT_EQ(dir.log(), "eror in memory   \n");
    EXPECT_EQ(record.adress, Words{"gamma"});
}

TEST_F(ProizEntry, NameTypedOnceIsTheOnlyName) {
    men& person = record;  // retyped through the person part, as a change by position does
    const std::string shown = enter(person, upToCount + "0").first;
    EXPECT_EQ(shown.find("Enter Name: "), shown.rfind("Enter Name: "));
    EXPECT_EQ(static_cast<partia&>(record).name, "Ivan");
    static_cast<teacher&>(record).surname = "Changed";
    EXPECT_EQ(static_cast<partia&>(record).surname, "Changed");
}

}  // namespace
