// Memory running out must never lose a record. One session runs without failure, counting the
// allocations the program makes while runProgram runs; then once for each of them, N, in a child
// process, with the Nth refused (std::bad_alloc). Each run must end by itself with status 0 or 1,
// leave name.txt with whole lines and list at the end only whole records, among them every record
// listed before the failure and the one the entry dialog held when it failed.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <streambuf>
#include <string>
#include <vector>

#include "app/Program.h"

namespace {

// The allocations the program makes while runProgram runs, but not the sweep's own (own > 0).
struct Counter {
    bool on = false;
    int own = 0;
    std::size_t made = 0;
    std::size_t failAt = 0;  // 0: none fails
    std::size_t answers = 0;
    std::vector<std::size_t>* trace = nullptr;  // the run without failure: the answers before each
} counter;

struct Own {
    Own() { ++counter.own; }
    ~Own() { --counter.own; }
};

bool refused() {
    if (!counter.on || counter.own > 0) {
        return false;
    }
    if (counter.trace != nullptr) {
        const Own own;
        counter.trace->push_back(counter.answers);
    }
    return ++counter.made == counter.failAt;
}

}  // namespace

// The Nth allocation of a run is refused (MallocNew.cpp).
bool refuseAllocation() {
    return refused();
}

namespace {

const char* const kNames[] = {"teachers", "party members", "union members"};
const std::string kMain = "ESC. Exit";
const std::string kMenu = "1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n";
const std::string kAdd = "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n\n";
const std::string kDialog = "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod\n";
const std::string kSeparator = std::string(54, '-') + "\n";
const std::vector<std::string> kFields[] = {
    {"Name", "Surname", "Lastname", "Date of birth", "Position", "stepen", "Speciality"},
    {"Name", "Surname", "Lastname", "Date of birth", "Party name", "Year of entrance", "number",
     "Biography"},
    {"Name", "Surname", "Lastname", "Date of birth", "Party name", "Year of entrance", "number",
     "Biography", "Position", "stepen", "Speciality"}};

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', '|');
    return text;
}

// "t2": the second teacher typed; "empty": the empty record, number 0.
std::string nameOf(int c, int k) {
    return k == 0 ? "empty" : "tpu"[c] + std::to_string(k);
}

// What record k holds in a field. A word is longer than 15 bytes, so that no string holds it
// inline and every copy allocates, and names its record and field.
std::string value(int c, int k, const std::string& field) {
    if (field == "Date of birth" || field == "Year of entrance" || field == "number") {
        return std::to_string(k == 0 ? 0 : 1900 + k);
    }
    return k == 0 ? "" : nameOf(c, k) + "." + field.substr(0, field.find(' ')) + ".typed-word";
}

// Record k as a listing shows it, with the separator that follows it.
std::string shown(int c, int k) {
    const char* const headers[] = {"Teacher", "partia", "UNION"};
    std::string text = "-----" + std::string(headers[c]) + " Member------\n";
    for (const std::string& field : kFields[c]) {
        text += field + ": " + value(c, k, field) + "\n";
    }
    for (int i = 0; c == 2 && k > 0 && i < 2; ++i) {
        text += std::to_string(i) + " -> " + value(c, k, "work" + std::to_string(i)) + "\n";
    }
    return (c == 2 ? text + std::string(25, '-') + "\n" : text) + kSeparator;
}

// One answer, given when the output ends with its prompt.
struct Step {
    std::string prompt;
    std::string answer;
    int category;
    std::string held;  // in the entry dialog: the record it held before this choice
    std::string what;  // for reports
};

// The session, built by makeSession: where it is, and what the entry dialog holds.
std::vector<Step> steps;
std::size_t closing = 0;  // the closing listings start here
int typed[3] = {};
int category = -1;
std::string held;

void add(const std::vector<std::pair<std::string, std::string>>& answers) {
    for (const auto& [prompt, answer] : answers) {
        const std::string where = category < 0 ? "main menu" : kNames[category];
        steps.push_back({prompt, answer, category, held,
                         where + ", \"" + oneLine(answer) + "\" to \"" + oneLine(prompt) + "\""});
    }
}

void enter(int c) {
    category = -1;
    add({{kMain, std::string(1, "123"[c])}});
    category = c;
}

// A new record typed, then kept (1) or not (2).
std::string type(const std::string& keep) {
    const int c = category;
    const int k = ++typed[c];
    for (const std::string& field : kFields[c]) {
        add({{"Enter " + (field == "stepen" ? "stepene" : field) + ": ",
              value(c, k, field) + "\n"}});
    }
    if (c == 2) {
        add({{"Enter num works: ", "2\n"},
             {"spisk0:\n", value(c, k, "work0") + "\n"},
             {"spisk1:\n", value(c, k, "work1") + "\n"}});
    }
    add({{"hotite save date?? 1/2\n", keep}});
    return nameOf(c, k);
}

// In each category: records added through the entry dialog (typed and kept, viewed, typed and
// discarded, undone, appended), one changed by position, a change discarded, one deleted, with
// a listing (1) after each; the string check; then the closing listings and Esc.
void makeSession() {
    for (int c = 0; c < 3; ++c) {
        enter(c);
        for (int dialog = 0; dialog < 2; ++dialog) {
            add({{kMenu, "2\n"}, {kAdd, "1\n"}});
            held = "empty";
            add({{kDialog, "1\n"}});
            held = type("1\n");
            if (dialog == 0) {
                add({{kDialog, "3\n"}, {kDialog, "1\n"}});
                type("2\n");
                add({{kDialog, "2\n"}});  // the undo gives back the record kept
            }
            add({{kDialog, "4\n"}});
            held.clear();
            add({{kAdd, "0\n"}, {kMenu, "1\n"}});
        }
        // The line end after 3 answers the wait after the listing that comes first.
        add({{kMenu, "3\n"}, {"NUM\n", "30\n"}, {"NUM\n", "2\n"}});
        type("1\n");
        add({{kMenu, "1\n"}, {kMenu, "3\n"}, {"NUM\n", "1\n"}});
        type("2\n");
        add({{kMenu, "1\n"}, {kMenu, "4\n"}, {kMenu, "1\n"}});
        add({{kMenu, "0\n"}});  // its line end is a main-menu key: the menu shows once more
    }
    category = -1;
    add({{kMain, "4"}, {"razmernosty)\n", "s1.check.typed-word\n"}, {"stroky \n", "1\n"}});
    add({{"razmernosty)\n", "s2.check.typed-word\n"}, {"stroky \n", "2\n"}});
    closing = steps.size();
    for (int c = 0; c < 3; ++c) {
        enter(c);
        add({{kMenu, "1\n"}, {kMenu, "0\n"}});
    }
    category = -1;
    add({{kMain, "\x1b"}});
}

struct Listing {
    int category;
    bool closing;
    std::size_t answers;                  // given before it
    std::size_t start;                    // in the output; it ends at the next clear
    std::vector<std::string> names = {};  // of its records: "t1", "empty", "broken {...}"
};

// One run of the session, with allocation failAt refused (none when 0): the program's standard
// input and output. The program shows each prompt before it reads, so the robot sees what it
// answers. Once the allocation has failed, or a prompt the session does not expect has come, it
// keeps nothing more up to the main menu, then goes on with the closing listings.
class Run : public std::streambuf {
  public:
    // What is wrong with how the run ended goes to faults.
    void play(std::size_t failAt, std::vector<std::size_t>* trace,
              std::vector<std::string>& faults) {
        std::filesystem::remove("name.txt");
        std::streambuf* const in = std::cin.rdbuf(this);
        std::streambuf* const out = std::cout.rdbuf(this);
        counter = {true, 0, 0, failAt, 0, trace};
        const int status = runProgram();  // an exception that leaves it ends the process
        counter.on = false;
        std::cin.rdbuf(in);
        std::cout.rdbuf(out);
        for (Listing& listing : listings) {
            const int c = listing.category;
            std::string text =
                output.substr(listing.start, output.find('\f', listing.start) - listing.start);
            for (int k = 0; k <= typed[c]; ++k) {
                for (std::size_t pos; (pos = text.find(shown(c, k))) != std::string::npos;) {
                    listing.names.push_back(nameOf(c, k));
                    text.erase(pos, shown(c, k).size());
                }
            }
            if (!text.empty() && text != "NO Element\n") {
                listing.names.push_back("broken {" + oneLine(text) + "}");
            }
        }
        if (gaveUp || (status != 0 && status != 1)) {
            faults.push_back("exit status " + std::to_string(status) +
                             (gaveUp ? " after the program went on asking" : ", not 0 or 1"));
        }
        std::ifstream log("name.txt", std::ios::binary | std::ios::ate);
        if (log && log.tellg() > 0 && (log.seekg(-1, std::ios::end), log.get() != '\n')) {
            faults.push_back("name.txt ends inside a line");
        }
    }

    std::string output;
    std::vector<Listing> listings;

  protected:
    int_type overflow(int_type c) override {
        const Own own;
        output.push_back(traits_type::to_char_type(c));
        return c;
    }
    int_type underflow() override {
        const Own own;
        if (counter.answers++ == 3 * steps.size()) {
            gaveUp = true;  // and the program gets end of input
            return traits_type::eof();
        }
        answer = next();
        setg(answer.data(), answer.data(), answer.data() + answer.size());
        return traits_type::to_int_type(answer.front());
    }

  private:
    std::string next() {
        const bool failed = counter.failAt != 0 && counter.made >= counter.failAt;
        if (at < steps.size() && output.ends_with(steps[at].prompt) && (!failed || at >= closing)) {
            const Step& step = steps[at++];
            if (step.prompt == kMenu && step.answer == "1\n") {
                listings.push_back({step.category, at > closing, counter.answers, output.size()});
            }
            return step.answer;
        }
        if (output.ends_with(kMain)) {
            at = closing;
            return next();
        }
        return output.ends_with(kDialog) ? "4\n" : "0\n";
    }

    std::size_t at = 0;
    std::string answer;
    bool gaveUp = false;
};

std::vector<std::size_t> trace;
Run base;  // the run without failure

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return "[" + text + "]";
}

// Whether the closing listings of a run with allocation n refused show whole records only, among
// them those the last listing before the failure showed and what the entry dialog held before
// the choice that failed; how many of those they miss.
std::size_t judge(std::size_t n, const Run& run, std::vector<std::string>& faults) {
    std::size_t lost = 0;
    const std::size_t answers = n > 0 ? trace[n - 1] : 0;
    for (int c = 0; c < 3; ++c) {
        std::vector<std::string> wanted;
        std::vector<std::string> came;
        for (const Listing& listing : base.listings) {
            wanted = listing.category == c && listing.answers < answers ? listing.names : wanted;
        }
        for (const Listing& listing : run.listings) {
            came = listing.closing && listing.category == c ? listing.names : came;
        }
        if (answers > 0 && steps[answers - 1].category == c && !steps[answers - 1].held.empty()) {
            wanted.push_back(steps[answers - 1].held);
        }
        std::size_t missing = 0;
        for (const std::string& name : wanted) {
            missing += std::find(came.begin(), came.end(), name) == came.end() ? 1 : 0;
        }
        lost += missing;
        if (missing > 0 || joined(came).find("broken") != std::string::npos) {
            faults.push_back(std::string(kNames[c]) + " at the end: expected whole records with " +
                             joined(wanted) + ", came " + joined(came));
        }
    }
    return lost;
}

// The run, the step it failed in (the answer given last, and its prompt), and its faults.
void printRun(std::size_t n, const std::vector<std::string>& faults) {
    std::cout << "run " << n << ", answer " << trace[n - 1] << ": "
              << (trace[n - 1] == 0 ? "none" : steps[trace[n - 1] - 1].what) << "\n";
    for (const std::string& fault : faults) {
        std::cout << "    " << fault << "\n";
    }
}

int sweep() {
    const auto began = std::chrono::steady_clock::now();
    makeSession();
    std::vector<std::string> faults;
    Run().play(0, nullptr, faults);  // what the program does once per process is done now
    base.play(0, &trace, faults);
    judge(0, base, faults);
    if (counter.answers != steps.size() || !faults.empty()) {
        std::cout << "the run without failure went wrong: "
                  << (faults.empty() ? "it left the session" : faults[0]) << "; it printed:\n"
                  << base.output << "\n";
        return 1;
    }
    std::cout << "allocation sweep: " << steps.size() << " answers, " << trace.size()
              << " allocations, each refused in a run of its own" << std::endl;
    std::size_t faulty = 0;
    std::size_t aborts = 0;
    std::size_t lost = 0;
    for (std::size_t n = 1; n <= trace.size(); ++n) {
        std::filesystem::remove("lost");
        std::cout.flush();  // or the child prints it again
        if (fork() == 0) {
            alarm(5);  // a run takes a tenth of a second
            Run run;
            std::vector<std::string> found;
            run.play(n, nullptr, found);
            const std::size_t missing = judge(n, run, found);
            if (!found.empty()) {
                printRun(n, found);
            }
            std::ofstream("lost") << missing << "\n";
            std::cout.flush();
            std::exit(found.empty() ? 0 : 3);  // not _exit: LeakSanitizer looks at the heap then
        }
        int status = -1;
        wait(&status);  // -1 still when fork failed
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
            printRun(n, {"no end within 5 s"});
        } else if (status != 0 && (!WIFEXITED(status) || WEXITSTATUS(status) != 3)) {
            printRun(n, {"the process ended with " +
                         (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                              : "status " + std::to_string(WEXITSTATUS(status))) +
                         "; its report is above"});
        }
        faulty += status != 0 ? 1 : 0;
        std::size_t missing = 0;
        if (std::ifstream("lost") >> missing) {
            lost += missing;
        } else {  // it died, and every record it held with it
            std::vector<std::string> ignored;
            lost += judge(n, Run(), ignored);
            ++aborts;
        }
    }
    const std::chrono::duration<double> time = std::chrono::steady_clock::now() - began;
    std::cout << "\nallocations failed: " << trace.size() << "\nruns: " << trace.size() + 2
              << " (2 without failure)\nfaulty runs: " << faulty << "\naborts: " << aborts
              << "\nrecords lost: " << lost << "\ntime: " << time.count() << " s" << std::endl;
    return faulty == 0 ? 0 : 1;
}

}  // namespace

int main() {
    std::string dir = (std::filesystem::temp_directory_path() / "registry-sweep-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) {
        std::cerr << "registry_allocation_sweep: cannot make " << dir << "\n";
        return 2;
    }
    std::filesystem::current_path(dir);
    const int status = sweep();
    std::filesystem::remove_all(dir);
    return status;
}
