// Writes a benchmark script to standard output: N records of each chosen kind
// typed in through the entry dialog, every registry listed, every record
// deleted, then Esc. The script is written as it is made, so it never has to
// fit in memory.
//
//   registry_bench_script N [--kinds=tpu] [--keep]
//
// --kinds picks the registries, in order: t teachers, p party members, u union
// members (all three by default). --keep leaves the records in the registries
// and exits with them instead of deleting them.
//
// How the bytes line up: a main-menu key and the key wait of a listing each
// take exactly one byte, every other answer is a formatted read that skips
// white space first. So a main-menu key is followed by a line end that the next
// number read skips, and the listing choice "1" is followed by the line end that
// answers its key wait. After a category's closing "0" the main menu takes the
// line end behind it as a key of its own (one pass that does nothing), since a
// key typed straight behind the 0 would be read as part of that number.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/script_fields.h"

namespace {

using benchscript::Kind;

class Out {
  public:
    Out() { buf.reserve(kChunk + 4096); }
    ~Out() { drain(); }
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;

    Out& operator<<(const std::string& s) {
        buf += s;
        maybeDrain();
        return *this;
    }
    Out& operator<<(const char* s) {
        buf += s;
        maybeDrain();
        return *this;
    }
    Out& operator<<(char c) {
        buf += c;
        maybeDrain();
        return *this;
    }
    Out& operator<<(long n) { return *this << std::to_string(n); }
    Out& operator<<(int n) { return *this << std::to_string(n); }

    void drain() {
        if (!buf.empty() && std::fwrite(buf.data(), 1, buf.size(), stdout) != buf.size()) {
            std::perror("registry_bench_script");
            std::exit(1);
        }
        buf.clear();
    }

  private:
    static constexpr std::size_t kChunk = 1 << 20;
    void maybeDrain() {
        if (buf.size() >= kChunk) {
            drain();
        }
    }
    std::string buf;
};

// The fields as the record's own entry asks for them, on one line.
void typeRecord(Out& out, Kind kind, long index) {
    const benchscript::Fields f = benchscript::fieldsOf(index);
    out << f.name << ' ' << f.surname << ' ' << f.lastname << ' ' << f.date;
    if (kind != Kind::teacher) {
        out << ' ' << f.party << ' ' << f.year << ' ' << f.number << ' ' << f.biography;
    }
    if (kind != Kind::partia) {
        out << ' ' << f.position << ' ' << f.stepen << ' ' << f.speciality;
    }
    if (kind == Kind::proiz) {
        out << ' ' << benchscript::kWorks;
        for (const std::string& work : f.works) {
            out << ' ' << work;
        }
    }
    out << '\n';
}

void usage() {
    std::fputs("usage: registry_bench_script N [--kinds=tpu] [--keep]\n", stderr);
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    long n = -1;
    std::vector<Kind> kinds;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--kinds=", 8) == 0) {
            for (const char* k = arg + 8; *k != '\0'; ++k) {
                switch (*k) {
                    case 't':
                        kinds.push_back(Kind::teacher);
                        break;
                    case 'p':
                        kinds.push_back(Kind::partia);
                        break;
                    case 'u':
                        kinds.push_back(Kind::proiz);
                        break;
                    default:
                        usage();
                }
            }
        } else if (std::strcmp(arg, "--keep") == 0) {
            keep = true;
        } else if (n < 0 && arg[0] >= '0' && arg[0] <= '9') {
            n = std::strtol(arg, nullptr, 10);
        } else {
            usage();
        }
    }
    if (n < 0) {
        usage();
    }
    if (kinds.empty()) {
        kinds = {Kind::teacher, Kind::partia, Kind::proiz};
    }

    Out out;
    // Entry: category menu 2 (ADD), then per record: 1 (enter), 1 (type), the
    // fields, 1 (keep them), 4 (append); 0 leaves ADD, 0 leaves the category.
    for (const Kind kind : kinds) {
        out << benchscript::mainKey(kind) << "\n2\n";
        for (long i = 0; i < n; ++i) {
            out << "1\n1\n";
            typeRecord(out, kind, i);
            out << "1\n4\n";
        }
        out << "0\n0\n";
    }
    // Listing: choice 1, its key wait takes the line end behind it.
    for (const Kind kind : kinds) {
        out << benchscript::mainKey(kind) << "\n1\n0\n";
    }
    // Deleting from the front until the registry is empty.
    if (!keep) {
        for (const Kind kind : kinds) {
            out << benchscript::mainKey(kind) << '\n';
            for (long i = 0; i < n; ++i) {
                out << "4\n";
            }
            out << "0\n";
        }
    }
    out << '\033';
    out.drain();
    return std::fflush(stdout) == 0 ? 0 : 1;
}
