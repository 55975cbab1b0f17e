#pragma once

#include <array>
#include <string>

// The records a benchmark script types, made from their kind and their position
// in the order of entry. The script generator types them; the floor prints them
// back when the script lists a registry, without having kept them.
namespace benchscript {

enum class Kind { teacher = 0, partia = 1, proiz = 2 };

inline constexpr int kKinds = 3;
inline constexpr int kWorks = 3;  // works per union member

// The main-menu key of each kind.
inline char mainKey(Kind kind) {
    return static_cast<char>('1' + static_cast<int>(kind));
}

// Every text field is one short word (well inside a string's in-place buffer);
// numbers are typed in decimal.
struct Fields {
    std::string name;
    std::string surname;
    std::string lastname;
    int date = 0;
    std::string party;
    int year = 0;
    int number = 0;
    std::string biography;
    std::string position;
    std::string stepen;
    std::string speciality;
    std::array<std::string, kWorks> works;
};

// A word made of a short prefix and a number.
inline std::string tagged(const char* prefix, long number) {
    std::string word(prefix);
    word += std::to_string(number);
    return word;
}

inline Fields fieldsOf(long index) {
    Fields f;
    f.name = tagged("n", index);
    f.surname = tagged("s", index);
    f.lastname = tagged("l", index);
    f.date = static_cast<int>(index % 65536);
    f.party = tagged("p", index % 7);
    f.year = 1950 + static_cast<int>(index % 70);
    f.number = static_cast<int>(index);
    f.biography = tagged("b", index);
    f.position = "docent";
    f.stepen = "phd";
    f.speciality = "math";
    static constexpr const char* kWorkPrefix[kWorks] = {"wa", "wb", "wc"};
    for (int w = 0; w < kWorks; ++w) {
        f.works[static_cast<std::size_t>(w)] = tagged(kWorkPrefix[w], index);
    }
    return f;
}

}  // namespace benchscript
