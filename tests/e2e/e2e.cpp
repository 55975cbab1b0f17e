#include <algorithm>

#include "support/RunProgram.h"

namespace {

using namespace testsupport;

class Pipe : public ::testing::TestWithParam<Session> {};

TEST_P(Pipe, Session) {
    const Session session = expanded(GetParam());
    // "!": Linux's own streams, files and memory, which a runner or a sanitizer replaces.
    const bool bare = session.setUp.starts_with('!');
    if (bare && (underRunner() || std::getenv("ASAN_OPTIONS") != nullptr)) {
        GTEST_SKIP() << "a runner or sanitizer has streams and memory of its own";
    }
    const TempDir dir;
    const auto run = runRegistry(dir.path(), session.input, session.setUp.substr(bare));
    // A log that is no file (a directory, a device, a FIFO) is not read.
    const bool file = std::filesystem::is_regular_file(dir.path() / "name.txt");
    expectSession(session, run, file ? readLog(dir.path()) : "");
}

INSTANTIATE_TEST_SUITE_P(Sessions, Pipe, ::testing::ValuesIn(sessions()),
                         [](const auto& row) { return row.param.name; });

// Input that ends anywhere in a run through every dialog: the program ends by itself, with
// whole log lines that the whole run writes (the last may hold a word cut short).
TEST(Pipe, EveryPrefixOfAllDialogsEndsCleanly) {
    const std::vector<Session> all = sessions();
    const Session session = expanded(*std::ranges::find(all, "AllDialogs", &Session::name));
    for (std::size_t length = 0; length < session.input.size() && !underRunner(); length += 2) {
        const TempDir dir;
        const auto run = runRegistry(dir.path(), session.input.substr(0, length));
        const std::string log = readLog(dir.path()), end = "registry: end of input\n";
        EXPECT_TRUE(run.status == 0 ? run.err.empty() : run.status == 1 && run.err == end)
            << length << " bytes: exit status " << run.status << ", " << run.err;
        EXPECT_TRUE(log.empty() ||
                    (log.ends_with('\n') && session.log.starts_with(log.substr(0, log.size() - 1))))
            << length << " bytes, name.txt: " << log;
    }
}

}  // namespace
