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

// Per kind: the message it is raised with, and the line its report shows on the console.
template <class E>
const std::pair<std::string, std::string> kTexts{};
template <>
const std::pair<std::string, std::string> kTexts<MAXExp>{"previsheno MAX znachenie",
                                                         "previsheno MAX znachenie"};
template <>
const std::pair<std::string, std::string> kTexts<memberExp>{"eror in memory   ",
                                                            "eror in memory   "};
template <>  // the console gets a fixed text, the log the rejected word
const std::pair<std::string, std::string> kTexts<charExp>{"abcdefghij", "eror in  razmer srtoki"};
template <>
const std::pair<std::string, std::string> kTexts<EnterExp>{" oshibka v granizah spiska",
                                                           " oshibka v granizah spiska"};

std::string lines(const std::string& line, int n) {
    std::string all;
    while (n-- > 0) {
        all += line + "\n";
    }
    return all;
}

template <class E>
class ErrorReport : public ::testing::Test {
  protected:
    const std::string& message = kTexts<E>.first;
    // The console text, and the log line, n times over.
    std::string consoleLines(int n) const { return lines(kTexts<E>.second, n); }
    std::string logLines(int n) const { return lines(message, n); }
    InTempDir dir;
    StreamSwap io{""};
};
using ErrorKinds = ::testing::Types<MAXExp, memberExp, charExp, EnterExp>;
TYPED_TEST_SUITE(ErrorReport, ErrorKinds);

TYPED_TEST(ErrorReport, FirstReportShowsItsTextAndCreatesTheLogWithOneLine) {
    ASSERT_FALSE(std::filesystem::exists("name.txt"));
    TypeParam(this->message.c_str()).report();
    EXPECT_EQ(this->io.output(), this->consoleLines(1));
    EXPECT_EQ(this->dir.log(), this->logLines(1));
}

TYPED_TEST(ErrorReport, EveryCopyReportsTheSameTextWhicheverEndsFirst) {
    auto original = std::make_unique<TypeParam>(this->message.c_str());
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
    EXPECT_EQ(this->io.output(), this->consoleLines(3));
    EXPECT_EQ(this->dir.log(), this->logLines(3));
}

TYPED_TEST(ErrorReport, CallerMayChangeAndReleaseItsBufferAfterConstruction) {
    const std::size_t size = this->message.size() + 1;
    auto buffer = std::make_unique<char[]>(size);
    std::memcpy(buffer.get(), this->message.c_str(), size);
    TypeParam error(buffer.get());
    std::memset(buffer.get(), 'x', size - 1);
    buffer.reset();
    error.report();
    EXPECT_EQ(this->dir.log(), this->logLines(1));
}

TEST(ErrorLog, LinesAppendInOrderBehindThoseOfEarlierRuns) {
    InTempDir dir;
    dir.dir().write("name.txt", "from an earlier run\n");
    StreamSwap io("");
    MAXExp("first").report();
    EnterExp("second").report();
    charExp("thirdword").report();
    EXPECT_EQ(io.output(), "first\nsecond\neror in  razmer srtoki\n");
    EXPECT_EQ(dir.log(), "from an earlier run\nfirst\nsecond\nthirdword\n");
}

TEST(ErrorLog, PercentSignsAreLoggedLiterally) {
    InTempDir dir;
    StreamSwap io("");
    memberExp("100% done, %d %s %% left").report();
    EXPECT_EQ(io.output(), "100% done, %d %s %% left\n");
    EXPECT_EQ(dir.log(), "100% done, %d %s %% left\n");
}

}  // namespace
