#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "errors/EnterExp.h"
#include "errors/MAXExp.h"
#include "errors/charExp.h"
#include "errors/memberExp.h"
#include "support/StreamSwap.h"
#include "support/TempDir.h"

namespace {

using testsupport::InTempDir;
using testsupport::StreamSwap;
using Texts = std::pair<std::string, std::string>;

// Per kind: the message it is raised with, and the line its report shows on the console.
template <class E>
const Texts kTexts{};
template <>
const Texts kTexts<MAXExp>{"previsheno MAX znachenie", "previsheno MAX znachenie"};
template <>
const Texts kTexts<memberExp>{"eror in memory   ", "eror in memory   "};
template <>  // the console gets a fixed text, the log the rejected word
const Texts kTexts<charExp>{"abcdefghij", "eror in  razmer srtoki"};
template <>
const Texts kTexts<EnterExp>{" oshibka v granizah spiska", " oshibka v granizah spiska"};

template <class E>
class ErrorReport : public ::testing::Test {
  protected:
    // The console text, then the log line, n times over.
    static Texts expected(int n) {
        Texts all;
        while (n-- > 0) {
            all.first += kTexts<E>.second + "\n";
            all.second += kTexts<E>.first + "\n";
        }
        return all;
    }
    Texts reported() const { return {io.output(), dir.log()}; }
    InTempDir dir;
    StreamSwap io{""};
};
using ErrorKinds = ::testing::Types<MAXExp, memberExp, charExp, EnterExp>;
TYPED_TEST_SUITE(ErrorReport, ErrorKinds);

TYPED_TEST(ErrorReport, FirstReportCreatesTheLogAndTheCallersBufferMayChangeBefore) {
    const std::string& message = kTexts<TypeParam>.first;
    auto buffer = std::make_unique<char[]>(message.size() + 1);
    std::memcpy(buffer.get(), message.c_str(), message.size() + 1);
    TypeParam error(buffer.get());
    std::memset(buffer.get(), 'x', message.size());
    buffer.reset();
    ASSERT_FALSE(std::filesystem::exists("name.txt"));
    error.report();
    EXPECT_EQ(this->reported(), this->expected(1));
}

TYPED_TEST(ErrorReport, EveryCopyReportsTheSameTextWhicheverEndsFirst) {
    auto original = std::make_unique<TypeParam>(kTexts<TypeParam>.first.c_str());
    try {
        throw TypeParam(*original);
    } catch (const TypeParam& thrown) {
        TypeParam own = thrown;  // as the handlers do
        own.report();
    }
    TypeParam late(*original);
    original->report();
    original.reset();
    late.report();
    EXPECT_EQ(this->reported(), this->expected(3));
}

TEST(ErrorLog, LinesAppendInOrderBehindThoseOfEarlierRunsWithPercentSignsLiteral) {
    InTempDir dir;
    dir.dir().write("name.txt", "from an earlier run\n");
    StreamSwap io("");
    MAXExp("first").report();
    memberExp("100% done, %d %s %% left").report();
    charExp("thirdword").report();
    EXPECT_EQ(io.output(), "first\n100% done, %d %s %% left\neror in  razmer srtoki\n");
    EXPECT_EQ(dir.log(), "from an earlier run\nfirst\n100% done, %d %s %% left\nthirdword\n");
}

}  // namespace
