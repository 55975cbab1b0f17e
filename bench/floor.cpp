// The floor the program is measured against: the dialogue of a benchmark script
// with no registry behind it. It reads the same input with the same formatted
// reads (a key with cin.get(), a number with >> int, a word with >> std::string)
// and writes the same bytes with the same flushes (std::endl per line, cin tied
// to cout, a form feed and a flush per clear), but keeps no records: a
// registry is a count, and when the script lists it the records are printed
// from the formula the script generator typed them from.
//
// It knows the dialogue that the scripts of registry_bench_script use (keys 1
// to 3 and Esc; category choices 0, 1, 2 and 4; ADD choices 0 and 1; entry
// choices 1 and 4 with the typed data kept), nothing more.

#include <iostream>
#include <string>

#include "bench/script_fields.h"

namespace {

using benchscript::Kind;

constexpr const char* kSeparator = "------------------------------------------------------";
constexpr const char* kHeaders[benchscript::kKinds] = {
    "-----Teacher Member------", "-----partia Member------", "-----UNION Member------"};

// What a registry would hold: records first .. first + count - 1 of the script.
struct Registry {
    long first = 0;
    long count = 0;
};

void clearScreen() {
    std::cout << '\f';
    std::cout.flush();
}

bool word(const char* prompt, std::string& into) {
    std::cout << prompt;
    return static_cast<bool>(std::cin >> into);
}

bool number(const char* prompt, int& into) {
    std::cout << prompt;
    return static_cast<bool>(std::cin >> into);
}

// The record's own entry: the prompts and reads of its kind.
bool typeIn(Kind kind) {
    std::string w;
    int n = 0;
    clearScreen();
    std::cout << kHeaders[static_cast<int>(kind)] << std::endl;
    if (!word("Enter Name: ", w) || !word("\nEnter Surname: ", w) ||
        !word("\nEnter Lastname: ", w) || !number("\nEnter Date of birth: ", n)) {
        return false;
    }
    if (kind != Kind::teacher) {
        if (!word("\nEnter Party name: ", w) || !number("\nEnter Year of entrance: ", n) ||
            !number("\nEnter number: ", n) || !word("\nEnter Biography: ", w)) {
            return false;
        }
    }
    if (kind != Kind::partia) {
        if (!word("\nEnter Position: ", w) || !word("\nEnter stepene: ", w) ||
            !word("\nEnter Speciality: ", w)) {
            return false;
        }
    }
    if (kind == Kind::proiz) {
        int works = 0;
        if (!number("\nEnter num works: ", works)) {
            return false;
        }
        for (int i = 0; i < works; ++i) {
            std::cout << "Enter the adress of taken spisk" << i << ":" << std::endl;
            if (!(std::cin >> w)) {
                return false;
            }
        }
    }
    return true;
}

void printRecord(Kind kind, long index) {
    const benchscript::Fields f = benchscript::fieldsOf(index);
    std::cout << kHeaders[static_cast<int>(kind)] << std::endl;
    std::cout << "Name: " << f.name << std::endl;
    std::cout << "Surname: " << f.surname << std::endl;
    std::cout << "Lastname: " << f.lastname << std::endl;
    std::cout << "Date of birth: " << f.date << std::endl;
    if (kind != Kind::teacher) {
        std::cout << "Party name: " << f.party << std::endl;
        std::cout << "Year of entrance: " << f.year << std::endl;
        std::cout << "number: " << f.number << std::endl;
        std::cout << "Biography: " << f.biography << std::endl;
    }
    if (kind != Kind::partia) {
        std::cout << "Position: " << f.position << std::endl;
        std::cout << "stepen: " << f.stepen << std::endl;
        std::cout << "Speciality: " << f.speciality << std::endl;
    }
    if (kind == Kind::proiz) {
        for (std::size_t i = 0; i < f.works.size(); ++i) {
            std::cout << i << " -> " << f.works[i] << std::endl;
        }
        std::cout << "-------------------------" << std::endl;
    }
}

void listAll(Kind kind, const Registry& reg) {
    if (reg.count == 0) {
        std::cout << "NO Element" << std::endl;
    } else {
        for (long i = reg.first; i < reg.first + reg.count; ++i) {
            printRecord(kind, i);
            std::cout << kSeparator << std::endl;
        }
    }
    std::cin.get();
}

// The entry dialog; the record it appends is counted.
bool enter(Kind kind, Registry& reg) {
    int vibor = 0;
    for (;;) {
        std::cout << "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod" << std::endl;
        if (!(std::cin >> vibor)) {
            return false;
        }
        if (vibor == 1) {
            int too = 0;
            if (!typeIn(kind)) {
                return false;
            }
            std::cout << kSeparator << std::endl;
            std::cout << "hotite save date?? 1/2" << std::endl;
            if (!(std::cin >> too)) {
                return false;
            }
        } else if (vibor == 4) {
            ++reg.count;
            return true;
        } else {
            std::cout << "nepravelnii vvod->" << std::endl;
        }
    }
}

bool category(Kind kind, Registry& reg) {
    int ch = 0;
    for (;;) {
        clearScreen();
        std::cout << "1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n"
                  << std::endl;
        if (!(std::cin >> ch)) {
            return false;
        }
        switch (ch) {
            case 0:
                return true;
            case 1:
                listAll(kind, reg);
                break;
            case 2:
                for (;;) {
                    std::cout << "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n"
                              << std::endl;
                    if (!(std::cin >> ch)) {
                        return false;
                    }
                    if (ch == 0) {
                        break;
                    }
                    if (ch == 1) {
                        if (!enter(kind, reg)) {
                            return false;
                        }
                    } else {
                        std::cout << "nepravelnii vvod->" << std::endl;
                    }
                }
                break;
            case 4:
                std::cout << "DELL" << std::endl;
                if (reg.count == 0) {
                    std::cout << "NO element" << std::endl;
                } else {
                    ++reg.first;
                    --reg.count;
                }
                break;
            default:
                std::cout << "nepravelnii vvod->" << std::endl;
                break;
        }
    }
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);
    Registry registries[benchscript::kKinds];
    for (;;) {
        std::cout
            << "MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit";
        const int key = std::cin.get();
        clearScreen();
        if (key == std::char_traits<char>::eof() || key == 27) {
            return 0;
        }
        if (key >= '1' && key <= '3') {
            const int k = key - '1';
            if (!category(static_cast<Kind>(k), registries[k])) {
                return 1;
            }
        }
    }
}
