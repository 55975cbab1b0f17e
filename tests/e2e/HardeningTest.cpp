#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "e2e/Texts.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using namespace std::string_literals;
using namespace texts;
using testsupport::runRegistry;
using testsupport::RunResult;
using testsupport::TempDir;

// Runs under a runner (valgrind, an emulator) are many times slower.
double seconds(double native) {
    return testsupport::registryCommand().size() == 1 ? native : native * 20;
}

// The run ended by itself, with one of the program's two exit statuses.
void expectCleanEnd(const RunResult& run, const std::string& context) {
    EXPECT_FALSE(run.timedOut) << context;
    EXPECT_EQ(run.signal, 0) << context;
    EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << context << ": " << run.exitCode;
}

std::string wholeLinesOfLog(const std::filesystem::path& dir, const std::string& context) {
    const std::string log = testsupport::readLog(dir);
    EXPECT_TRUE(log.empty() || log.back() == '\n') << context << ": a cut line in name.txt";
    return log;
}

// One input through every dialog: the main menu, the string check, the three
// category menus, the ADD sub-menu, the entry dialog with all its choices,
// save answers, change by position, delete, and answers that are not numbers.
const std::string kScript =
    // An unknown key; the string check: a short word, a long one, other choices, a cut.
    "x4abc 4abcdefghijk 3 q 1 abcdefghijklm 2"
    // Teachers: bad answers everywhere, a refused date, kept, discarded, undone, added.
    "1x 9 2 y 2 1 z 5 3 1 Ann Lee Roe q 65536 1990 prof dr math w 1 1 Bob Ray Kim 5 a b c 2 2 4 0 "
    // Listed, changed after refused positions, positions that match nothing, deleted twice.
    "1 3 26 v -1 1 Cy Do Ed 7 a b c 1 3 0 3 5 4 4 0 "
    // Party members: numbers that are not, a change discarded.
    "22 1 1 Al Bo Cy 12 Red yy 1999 nn 7 bio 1 4 0 1 3 1 Xe Yo Zu 5 Blue 2000 8 none 0 0 "
    // Union members: a refused count, works, viewed, listed, deleted; then Esc.
    "32 1 1 Ul Vo Wu 300 Green 2001 42 bio pos deg chem -1 k 2 w0 w1 1 3 4 0 1 4 0\033";
const std::string kScriptLog =
    "abcdefghijk\nabcdefghijklm\nprevisheno MAX znachenie\n oshibka v granizah spiska\n"
    " oshibka v granizah spiska\neror in memory   \n";

// Input that ends anywhere: every prefix of the script, in a few slices.
class HardeningPrefixes : public ::testing::TestWithParam<int> {};

constexpr int kSlices = 4;

TEST_P(HardeningPrefixes, EveryPrefixEndsCleanlyWithWholeLogLines) {
    // The whole script is run by every slice: it ends at the main menu with the whole log.
    for (std::size_t length = GetParam(); length <= kScript.size() + kSlices; length += kSlices) {
        length = std::min(length, kScript.size());
        const std::string context = "prefix of " + std::to_string(length) + " bytes";
        TempDir dir;
        const RunResult run = runRegistry(kScript.substr(0, length), dir.path(), seconds(5));
        expectCleanEnd(run, context);
        const std::string log = wholeLinesOfLog(dir.path(), context);
        // The lines of the whole run, in order; the last may hold a word cut by the end.
        const std::size_t kept = log.empty() ? 0 : log.size() - 1;
        EXPECT_EQ(kScriptLog.compare(0, kept, log, 0, kept), 0) << context << ": " << log;
        EXPECT_EQ(run.out.find("NO founded the eror"), std::string::npos) << context;
        EXPECT_EQ(run.out.find("eror is no in memory"), std::string::npos) << context;
        if (length == kScript.size()) {
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(log, kScriptLog);
            EXPECT_EQ(run.err, "");
            EXPECT_TRUE(run.out.ends_with(kPass));
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slices, HardeningPrefixes, ::testing::Range(0, kSlices));

// The console text as usual, one warning line on standard error per report naming
// the log file (a runner may add lines of its own), and a normal end after Esc.
void expectGoesOn(const RunResult& run, int reports) {
    EXPECT_EQ(run.exitCode, 0);
    int warnings = 0;
    std::size_t start = 0;
    for (std::size_t end = run.err.find('\n'); end != std::string::npos;
         start = end + 1, end = run.err.find('\n', start)) {
        warnings += run.err.substr(start, end - start).find("name.txt") != std::string::npos;
    }
    EXPECT_EQ(warnings, reports) << run.err;
    if (testsupport::registryCommand().size() == 1) {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), reports) << run.err;
    }
}

// Two rejected words, two reports, shown as usual whatever becomes of the log.
void expectTwoReportsGoOn(const std::filesystem::path& dir) {
    const RunResult run = runRegistry("4abcdefghijk 1 abcdefghijkl 2\033", dir, seconds(10));
    expectGoesOn(run, 2);
    EXPECT_EQ(run.out, kPass + kPrompt + kReport + kChoice + kPrompt + kReport + kChoice +
                           result("abcdefghi") + kPass);
}

TEST(LogFaults, LogIsADirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "name.txt");
    expectTwoReportsGoOn(dir.path());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "name.txt"));
}

bool canCreateIn(const std::filesystem::path& dir) {
    const int fd = open((dir / "probe").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        close(fd);
        std::filesystem::remove(dir / "probe");
    }
    return fd >= 0;
}

// A directory nobody may write in: read-only, and for root, who ignores that,
// immutable too where the file system allows it; given back at the end.
class ReadOnlyDir {
  public:
    explicit ReadOnlyDir(const std::filesystem::path& dir)
        : fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        std::filesystem::permissions(
            dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        if (fd >= 0 && canCreateIn(dir) && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            int immutable = flags | FS_IMMUTABLE_FL;
            madeImmutable = ioctl(fd, FS_IOC_SETFLAGS, &immutable) == 0;
        }
        unwritable = !canCreateIn(dir);
    }
    ~ReadOnlyDir() {
        if (madeImmutable) {
            ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        close(fd);
    }
    ReadOnlyDir(const ReadOnlyDir&) = delete;
    ReadOnlyDir& operator=(const ReadOnlyDir&) = delete;

    bool unwritable = false;

  private:
    int fd;
    int flags = 0;
    bool madeImmutable = false;
};

TEST(LogFaults, DirectoryIsReadOnly) {
    TempDir dir;
    const ReadOnlyDir readOnly(dir.path());
    if (!readOnly.unwritable) {
        GTEST_SKIP() << "this user can still write in a read-only directory here";
    }
    expectTwoReportsGoOn(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "name.txt"));
}

TEST(LogFaults, LogOnAFullDevice) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    TempDir dir;
    std::filesystem::create_symlink("/dev/full", dir.path() / "name.txt");
    expectTwoReportsGoOn(dir.path());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "name.txt"));
}

// Random bytes, and random answers made of the characters the dialogs care about.
TEST(OddInput, RandomBytesEndCleanly) {
    std::mt19937 rng(20240601);
    const std::string alphabet = "0123456789 -\n\r\t\033abxyz\f"s + '\0';
    for (int i = 0; i < 24; ++i) {
        std::string input(500 + rng() % 2500, '\0');
        for (char& c : input) {
            c = i % 2 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        }
        const std::string context = "random input " + std::to_string(i);
        TempDir dir;
        expectCleanEnd(runRegistry(input, dir.path(), seconds(5)), context);
        wholeLinesOfLog(dir.path(), context);
    }
}

TEST(OddInput, NulBytes) {
    TempDir keys;
    RunResult run = runRegistry("\0\0\0\033"s, keys.path(), seconds(5));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kPass + kPass + kPass + kPass);

    TempDir word;
    run = runRegistry("4" + std::string(12, '\0') + " 2\033", word.path(), seconds(5));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(kPass + kPrompt + kReport + kChoice));
    EXPECT_TRUE(run.out.ends_with(" !!!!!\n" + kPass));
    const std::string log = wholeLinesOfLog(word.path(), "a word of NUL bytes");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);

    TempDir name;
    run = runRegistry("12 1 1 A\0B C D 5 p s q 1 4 0 1 0\033"s, name.path(), seconds(5));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Name: A\0B\nSurname: C\n"s), std::string::npos);
}

TEST(OddInput, MegabyteWordThroughTheStringCheck) {
    TempDir dir;
    const std::string word(4 << 20, 'w');
    const auto start = std::chrono::steady_clock::now();
    const RunResult run = runRegistry("4" + word + " 2\033", dir.path(), seconds(20));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(testsupport::readLog(dir.path()), word + "\n");
    EXPECT_NE(run.out.find(kReport + kChoice + result("wwwwwwwww")), std::string::npos);
    EXPECT_LT(took.count(), seconds(5));
}

TEST(OddInput, MegabyteWordsAndLinesInTheDialogs) {
    const std::string word(2 << 20, 'n');
    TempDir whole;
    RunResult run =
        runRegistry("12 1 1 " + word + " b c 5 p s q 1 4 0 1 0\033", whole.path(), seconds(20));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Name: " + word + "\nSurname: b\n"), std::string::npos);

    // One line of 20000 words that are not numbers, then a number out of range.
    std::string line = "1";
    for (int i = 0; i < 20000; ++i) {
        line += std::string(50, 'x') + ' ';
    }
    TempDir menu;
    run = runRegistry(line + std::string(1 << 20, '7') + " 0\033", menu.path(), seconds(20));
    EXPECT_EQ(run.exitCode, 0);
    std::size_t answers = 0;
    for (std::size_t at = run.out.find("nepravelnii vvod->\n"); at != std::string::npos;
         at = run.out.find("nepravelnii vvod->\n", at + 1)) {
        ++answers;
    }
    EXPECT_EQ(answers, 20001u);
}

// A count of works no memory can hold: reported, and the count is asked again. The
// address space is bounded so that the refusal does not hang on the machine's memory;
// ASan and memcheck end the program there instead of throwing std::bad_alloc.
TEST(OddInput, CountOfWorksTooLargeForMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer does not throw std::bad_alloc";
#endif
    if (testsupport::registryCommand().size() != 1) {
        GTEST_SKIP() << "a runner does not throw std::bad_alloc";
    }
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
    rlimit bounded = old;
    bounded.rlim_cur = std::min<rlim_t>(old.rlim_cur, rlim_t{4} << 30);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &bounded), 0);
    TempDir dir;
    const RunResult run = runRegistry(
        "32 1 1 A B C 5 P 1 2 bio pos deg chem 2147483647 1 w 1 4 0 1 0\033", dir.path(), 10);
    setrlimit(RLIMIT_AS, &old);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Enter num works: eror in memory   \n\nEnter num works: "
                           "Enter the adress of taken spisk0:\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("0 -> w\n-------------------------\n"), std::string::npos);
    EXPECT_EQ(testsupport::readLog(dir.path()), "eror in memory   \n");
}

TEST(OddInput, CrLfLineEnds) {
    std::string input = "4";
    for (const char* answer : {"abcdefghijk", "2", "12", "1", "1", "Ann", "Lee", "Roe", "1990",
                               "prof", "dr", "math", "1", "4", "0", "1", "0", "\033"}) {
        input += std::string(answer) + "\r\n";
    }
    TempDir dir;
    const RunResult run = runRegistry(input, dir.path(), seconds(10));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_NE(run.out.find(result("abcdefghi")), std::string::npos);
    EXPECT_NE(run.out.find("-----Teacher Member------\nName: Ann\nSurname: Lee\nLastname: Roe\n"
                           "Date of birth: 1990\nPosition: prof\nstepen: dr\nSpeciality: math\n" +
                           kSeparator),
              std::string::npos);
    EXPECT_EQ(testsupport::readLog(dir.path()), "abcdefghijk\n");
}

}  // namespace
