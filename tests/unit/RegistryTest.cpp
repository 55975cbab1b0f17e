#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "records/partia.h"
#include "records/proiz.h"
#include "records/teacher.h"
#include "registry/otmena.h"
#include "registry/spisok.h"
#include "support/StreamSwap.h"
#include "support/TempDir.h"

namespace {

using testsupport::InTempDir;
using testsupport::StreamSwap;
using Words = std::vector<std::string>;

const std::string kSeparator = std::string(54, '-') + "\n";
const std::string kQuestion = "hotite save date?? 1/2\n";
const std::string kMenu = "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod\n";
const std::string kNotNumber = "nepravelnii vvod->\n";
const std::string kRange = " oshibka v granizah spiska\n";

// What to type for a whole record of each kind, told apart by its first name
// (a union member's two works are named after it too).
template <class T>
std::string typing(const std::string& name) {
    std::string all = name + " Petrov Sidorovich 1970";
    if constexpr (std::is_base_of_v<partia, T>) {
        all += " KPSS 1985 42 short";
    }
    if constexpr (std::is_base_of_v<teacher, T>) {
        all += " docent kandidat physics";
    }
    if constexpr (std::is_same_v<proiz, T>) {
        all += " 2 " + name + "1 " + name + "2";
    }
    return all;
}

// A dialogue script: a single capital letter stands for typing a whole record.
template <class T>
std::string script(const std::string& words) {
    std::istringstream in(words);
    std::string all;
    for (std::string w; in >> w;) {
        all += " " + (w.size() == 1 && std::isupper(static_cast<unsigned char>(w[0])) != 0
                          ? typing<T>(w)
                          : w);
    }
    return all;
}

// The record typed under that name; shown gets what its entry printed.
template <class T>
T typed(const std::string& name, std::string* shown = nullptr) {
    T record;
    StreamSwap io(typing<T>(name));
    record.vvod();
    if (shown != nullptr) {
        *shown = io.output();
    }
    return record;
}
template <class T>
std::string printed(T record) {
    StreamSwap io("");
    record.vivod();
    return io.output();
}

template <class T>
std::string listing(spisok<T>& list) {
    StreamSwap io("kz");
    list.vivodAll();
    EXPECT_EQ(io.rest(), "z");  // the listing waits for exactly one key
    return io.output();
}
template <class T>
std::string listingOf(const std::vector<T>& records) {
    std::string all = records.empty() ? "NO Element\n" : "";
    for (const T& record : records) {
        all += printed(record) + kSeparator;
    }
    return all;
}
template <class T>
Words names(const spisok<T>& list) {
    Words all;
    for (const uzel<T>* node = list.first(); node != nullptr; node = node->next) {
        all.push_back(node->inf.name);
    }
    return all;
}

template <class T>
class Registry : public ::testing::Test {
  protected:
    static T named(const std::string& name) {
        T record;
        record.name = name;
        return record;
    }
    InTempDir dir;
    spisok<T> list;
};
using RecordTypes = ::testing::Types<teacher, partia, proiz>;
TYPED_TEST_SUITE(Registry, RecordTypes);

TYPED_TEST(Registry, ListsInOrderDeletesFromTheFrontAndIsRefilledAfterEmptying) {
    EXPECT_EQ(listing(this->list), "NO Element\n");
    {
        StreamSwap io("kz");
        this->list.delet();
        EXPECT_EQ(io.output(), "NO element\n");
        EXPECT_EQ(io.rest(), "kz");
    }
    for (int round = 0; round < 2; ++round) {
        const std::vector<TypeParam> all{typed<TypeParam>("R"), typed<TypeParam>("S"),
                                         this->named("T")};
        for (const auto& record : all) {
            this->list.dobavit(record);
        }
        EXPECT_EQ(listing(this->list), listingOf(all));  // one record, then one separator
        StreamSwap io("");
        this->list.delet();
        EXPECT_EQ(io.output(), "");
        EXPECT_EQ(listing(this->list), listingOf<TypeParam>({all[1], all[2]}));
        this->list.delet();
        this->list.delet();
        EXPECT_EQ(this->list.first(), nullptr);
        this->list.vivodAll();  // a key wait at end of input just returns
    }
}

TYPED_TEST(Registry, UndoHolderFollowsItsStateTable) {
    const TypeParam e, a = typed<TypeParam>("A"), b = typed<TypeParam>("B");
    // Steps from construction ('u' is an undo), then the current and the previous value.
    const std::tuple<std::string, const TypeParam&, const TypeParam&> rows[] = {
        {"", e, e},   {"u", e, e},   {"A", a, e},   {"Au", e, e},
        {"AB", b, a}, {"ABu", a, a}, {"ABuu", a, a}};
    for (const auto& [steps, tek, pred] : rows) {
        otmena<TypeParam> holder;
        for (const char step : steps) {
            step == 'u' ? holder.otkat() : holder.zapomnit(step == 'A' ? a : b);
        }
        EXPECT_EQ(printed(holder.poluchit()), printed(tek)) << steps;
        holder.otkat();  // brings the previous value forward where it can be seen
        EXPECT_EQ(printed(holder.poluchit()), printed(pred)) << steps;
    }
}

TYPED_TEST(Registry, EntryDialogFollowsItsStateTables) {
    // A script, then '=' and the record it appends (none: an empty one). With a union
    // member, a discarded typing also brings back the earlier works.
    for (const std::string run :
         {"4 =", "2 4 =", "1 A 2 4 =", "1 A 0 4 =", "1 A 3 4 =", "1 A 1 4 =A",
          "1 A 1 2 4 =", "1 A 1 1 B 1 2 4 =", "1 A 1 1 B 2 4 =A", "1 A 1 1 B 2 2 1 D 1 2 4 =A"}) {
        const std::string kept = run.substr(run.find('=') + 1);
        spisok<TypeParam> list;
        StreamSwap io(script<TypeParam>(run.substr(0, run.find('='))));
        list.vvodInf();
        EXPECT_EQ(listing(list),
                  listingOf<TypeParam>({kept.empty() ? TypeParam() : typed<TypeParam>(kept)}))
            << run;
    }
}

TYPED_TEST(Registry, EntryDialogShowsEachStep) {
    std::string shown;
    const std::string view = printed(typed<TypeParam>("A", &shown));
    StreamSwap io(script<TypeParam>("1 A maybe 1 3 0 5 -1 x 4"));
    this->list.vvodInf();
    EXPECT_EQ(io.output(), kMenu + shown + kSeparator + kQuestion + kNotNumber + kQuestion + kMenu +
                               view + kMenu + kNotNumber + kMenu + kNotNumber + kMenu + kNotNumber +
                               kMenu + kNotNumber + kMenu);
}

TYPED_TEST(Registry, ChangeByPositionKeepsOnlyOnAnswerOne) {
    std::string shown;
    const auto x = typed<TypeParam>("X", &shown);
    const std::pair<int, std::string> changes[] = {
        {1, "1"}, {2, "1"}, {2, "2"}, {2, "0"}, {3, "3"}};
    for (const auto& [pos, answer] : changes) {
        spisok<TypeParam> list;
        std::vector<TypeParam> expected{typed<TypeParam>("A"), typed<TypeParam>("B"),
                                        typed<TypeParam>("C")};
        for (const auto& record : expected) {
            list.dobavit(record);
        }
        StreamSwap io(typing<TypeParam>("X") + " " + answer);
        list.izmenit(pos);
        EXPECT_EQ(io.output(), shown + kSeparator + kQuestion) << pos << answer;
        if (answer == "1") {
            expected[pos - 1] = x;
        }
        EXPECT_EQ(listing(list), listingOf(expected)) << pos << answer;
    }
}

TYPED_TEST(Registry, ChangeByPositionZeroOrPastTheEndDoesNothing) {
    {
        StreamSwap io("3");
        this->list.izmenit(3);
        this->list.izmenit(40);
        EXPECT_EQ(io.output(), "NO Element\n" + kRange + "NUM\nNO Element\n");
        EXPECT_EQ(this->dir.log(), kRange);
    }
    for (const char* name : {"A", "B", "C"}) {
        this->list.dobavit(this->named(name));
    }
    for (const int pos : {0, 4, 25}) {
        StreamSwap io("X");
        this->list.izmenit(pos);
        EXPECT_EQ(io.output(), "") << pos;
        EXPECT_EQ(io.rest(), "X") << pos;
    }
    EXPECT_EQ(names(this->list), (Words{"A", "B", "C"}));
}

TYPED_TEST(Registry, ChangeByPositionRefusesPositionsOutside0To25) {
    Words expected;
    for (int i = 1; i <= 30; ++i) {
        expected.push_back("r" + std::to_string(i));
        this->list.dobavit(this->named(expected.back()));
    }
    std::string shown;
    typed<TypeParam>("X", &shown);
    StreamSwap io("26 abc 30 25 " + typing<TypeParam>("X") + " 1");
    this->list.izmenit(-1);
    EXPECT_EQ(io.output(), kRange + "NUM\n" + kRange + "NUM\n" + kNotNumber + "NUM\n" + kRange +
                               "NUM\n" + shown + kSeparator + kQuestion);
    EXPECT_EQ(this->dir.log(), kRange + kRange + kRange);
    expected[24] = "X";  // the 25th is the last one within reach
    EXPECT_EQ(names(this->list), expected);
}

}  // namespace
