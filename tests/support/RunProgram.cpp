#include "support/RunProgram.h"

#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace testsupport {
namespace {

using Strings = std::vector<std::string>;

std::string env(const char* name) {
    return std::getenv(name) != nullptr ? std::getenv(name) : "";
}

std::string raw(const std::filesystem::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

// text with CR LF folded to LF, as it is compared when the program writes CR LF.
std::string folded(const std::string& text, bool crlf) {
    std::string lf;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lf += crlf && text.compare(i, 2, "\r\n") == 0 ? "" : text.substr(i, 1);
    }
    return lf;
}

// "\n", "\e", "\0", "\xff"... and, where repeat, "<N*text>": text N times over (a tenth of
// it under a runner).
std::string unescape(const std::string& text, bool repeat = true) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool hex = text.compare(i, 2, "\\x") == 0;
        plain +=
            hex ? static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16))
            : text[i] == '\\'
                ? std::string("\n\r\f\033\t\0\\", 7).at(std::string("nrfet0\\").find(text[i + 1]))
                : text[i];
        i += hex ? 3 : static_cast<std::size_t>(text[i] == '\\');
    }
    for (std::size_t at = plain.rfind('<'); repeat && at != std::string::npos;
         at = plain.rfind('<')) {
        const std::size_t n = std::stoul(plain.substr(at + 1)), star = plain.find('*', at),
                          end = plain.find('>', at);
        std::string repeated;
        for (std::size_t k = underRunner() && n > 1000 ? n / 10 : n; k > 0; --k) {
            repeated += plain.substr(star + 1, end - star - 1);
        }
        plain.replace(at, end - at + 1, repeated);
    }
    return plain;
}

// sessions.txt: the texts of the shorthand, the kinds of record (header, fields), the records
// (kind, answers) and the sessions.
struct Table {
    std::map<char, std::string> texts;
    std::map<char, Strings> kinds, records;
    std::vector<Session> sessions;
};

const Table& table() {
    static const Table loaded = [] {
        Table t;
        std::ifstream file(REGISTRY_SESSIONS);
        for (std::string line; std::getline(file, line);) {
            Strings f;  // the fields, parted by "|" and a blank on either side
            std::istringstream fields(line);
            for (std::string field; !line.starts_with("//") && std::getline(fields, field, '|');) {
                const std::size_t lead = field.starts_with(' ') ? 1 : 0;
                f.push_back(field.substr(
                    lead, field.size() - lead - (field.size() > lead && field.ends_with(' '))));
            }
            f.resize(std::max<std::size_t>(f.size(), 8));
            for (std::size_t i = 1; f[0] == "text" && !f[i].empty(); ++i) {
                t.texts[f[i][0]] = unescape(f[i].substr(2), false);
            }
            for (std::size_t i = 1; f[0] == "record" && !f[i].empty(); ++i) {
                std::istringstream words(unescape(f[i]));
                Strings r{std::istream_iterator<std::string>(words), {}};
                std::replace(r.begin(), r.end(), std::string("~"), std::string());
                t.records[r[0][0]] = Strings(r.begin() + 1, r.end());
            }
            if (f[0] == "kind") {
                t.kinds[f[1][0]] = Strings(f.begin() + 2, f.end());
            } else if (f[0] == "session") {
                const std::string err =
                    f[5] == "1" && f[6].empty() ? "registry: end of input\\n" : f[6];
                t.sessions.push_back(
                    {f[1], f[2], f[3], f[4], err, f[7], f[5].empty() ? 0 : std::stoi(f[5])});
            }
        }
        return t;
    }();
    return loaded;
}

// The shorthand spelt out. Record r gives its answers where typed; elsewhere "(r)" and "[r]" its
// view, "{r}" the prompts of its typing, "{rN}" its first N prompts only, "{r-N}" all but those.
std::string expand(const std::string& shorthand, bool typed) {
    const Table& t = table();
    std::string text;
    for (std::size_t i = 0; i < shorthand.size(); ++i) {
        const std::size_t code =
            shorthand.find_first_of(typed ? "{" : "{([!ABCDEFGHIJKLMNOPQRSTUVWXYZ", i);
        text.append(shorthand, i, code - i);
        if ((i = code) == std::string::npos) {
            break;
        }
        if (shorthand[i] != '{' && shorthand[i] != '(' && shorthand[i] != '[') {
            text += t.texts.count(shorthand[i]) != 0 ? t.texts.at(shorthand[i])
                                                     : shorthand.substr(i, 1);
            continue;
        }
        const Strings& r = t.records.at(shorthand[i + 1]);
        const Strings& kind = t.kinds.at(r[0][0]);
        std::string answers, entry = "\f" + kind[0] + "\n", view = kind[0] + "\n";
        for (std::size_t k = 1; k < r.size(); ++k) {
            const std::string work = std::to_string(k - kind.size() - 1);
            answers += r[k] + " ";
            entry += k < kind.size()   ? (k == 1 ? "Enter " : "\nEnter ") + kind[k] + ": "
                     : k > kind.size() ? "Enter the adress of taken spisk" + work + ":\n"
                                       : "\nEnter num works: ";
            view += k < kind.size()
                        ? (kind[k] == "stepene" ? "stepen" : kind[k]) + ": " + r[k] + "\n"
                    : k > kind.size() ? work + " -> " + r[k] + "\n"
                                      : "";
        }
        view += (r[0] == "3" ? std::string(25, '-') + "\n" : "") +
                (shorthand[i] == '[' ? std::string(54, '-') + "\n" : "");
        const bool rest = shorthand[i + 2] == '-';
        const std::size_t prompts = std::strtoul(shorthand.c_str() + i + 2 + rest, nullptr, 10);
        std::size_t cut = 0;
        for (std::size_t n = 0; n < prompts; ++n) {
            cut = entry.find(": ", cut) + 2;
        }
        text += typed                 ? answers
                : shorthand[i] != '{' ? view
                : cut == 0            ? entry
                : rest                ? entry.substr(cut)
                                      : entry.substr(0, cut);
        i = shorthand.find_first_of("})]", i);
    }
    return text;
}

}  // namespace

std::vector<std::string> registryCommand() {
    std::istringstream runner(env("REGISTRY_RUNNER"));
    std::vector<std::string> argv{std::istream_iterator<std::string>(runner), {}};
    argv.emplace_back(env("REGISTRY_BIN").empty() ? REGISTRY_DEFAULT_BIN : env("REGISTRY_BIN"));
    return argv;
}

bool underRunner() {
    return registryCommand().size() > 1;
}

Run runRegistry(const std::filesystem::path& dir, const std::string& input,
                const std::string& setUp) {
    // The input and outputs are files: the input is all there before the program starts and
    // the outputs are whole once it has ended, however the two are timed. The set-up comes in
    // the environment; SIGPIPE ignored, a reader that has gone is a write error, not a signal.
    const TempDir io;
    std::ofstream(io.path() / "in", std::ios::binary) << input;
    setenv("REGISTRY_SET_UP", setUp.empty() ? "exec \"$@\"" : setUp.c_str(), 1);
    std::string command = "trap '' PIPE && cd '" + dir.string() + "' && exec timeout " +
                          (underRunner() ? "300" : "8") + " sh -c \"$REGISTRY_SET_UP\" sh";
    for (const std::string& word : registryCommand()) {
        command += " '" + word + "'";
    }
    const std::string files = io.path().string();
    const int status = std::system(
        (command + " <'" + files + "/in' >'" + files + "/out' 2>'" + files + "/err'").c_str());
    const bool crlf = env("REGISTRY_CRLF") == "1";
    return {folded(raw(io.path() / "out"), crlf), folded(raw(io.path() / "err"), crlf),
            WEXITSTATUS(status)};
}

std::string readLog(const std::filesystem::path& dir) {
    const std::string log = raw(dir / "name.txt"), lf = folded(log, true);
    const bool crlf = env("REGISTRY_CRLF") == "1";
    EXPECT_EQ(log.size() - lf.size(), crlf ? std::count(lf.begin(), lf.end(), '\n') : 0)
        << "CR LF line ends in name.txt where the program writes " << (crlf ? "them: " : "LF: ")
        << log;
    return crlf ? lf : log;
}

std::vector<Session> sessions() {
    return table().sessions;
}

Session expanded(const Session& written) {
    return {written.name,
            expand(unescape(written.input), true),
            expand(unescape(written.out), false),
            expand(unescape(written.log), false),
            unescape(written.err, false),
            unescape(written.setUp, false),
            written.status};
}

void expectSession(const Session& session, const Run& run, const std::string& log) {
    const std::string ended =
        "exit status " + std::to_string(run.status) + ", standard error \"" + run.err + "\"";
    EXPECT_EQ(run.status, session.status) << ended;
    for (const auto& [what, text, expected] : {std::tuple{"standard error", run.err, session.err},
                                               {"standard output", run.out, session.out},
                                               {"name.txt", log, session.log}}) {
        if (expected.ends_with('*')) {  // what begins so
            EXPECT_TRUE(text.starts_with(expected.substr(0, expected.size() - 1)))
                << what << ":\n"
                << text.substr(0, 3000) << ended;
        } else {
            EXPECT_EQ(text, expected) << what << ", " << ended;
        }
    }
}

}  // namespace testsupport
