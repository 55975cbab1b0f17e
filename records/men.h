#pragma once

#include <cstdint>
#include <string>
#include <tuple>

// A person: the part every registry record shares. Abstract; the concrete
// records derive from it virtually, so a union member holds one person part.
class men {
  public:
    // Declared, so the person part is never moved, only copied: a union member's move would
    // move its one person part twice, once through each base, and lose it.
    virtual ~men() = default;

    // Reads the whole record from the console, prompting for every field.
    virtual void vvod() = 0;
    // Prints the whole record.
    virtual void vivod() const = 0;

    std::string name;
    std::string surname;
    std::string lastname;
    std::uint16_t date = 0;

  protected:
    auto menFields() { return std::tie(name, surname, lastname, date); }
    // Clears the screen and prints the record's header line.
    static void startEntry(const char* header);
    // Name, surname, lastname and the checked date of birth.
    void vvodMen();
    void vivodMen() const;
};

// Exchanges the values of two records field by field: no copy is made, so it cannot fail.
template <class T>
void swapRecords(T& a, T& b) noexcept {
    auto fields = a.fields();
    auto others = b.fields();
    fields.swap(others);
}
