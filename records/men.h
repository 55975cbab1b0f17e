#pragma once

#include <cstdint>
#include <string>

// A person: the part every registry record shares. Abstract; the concrete
// records derive from it virtually, so a union member holds one person part.
class men {
  public:
    men() = default;
    men(const men&) = default;
    men& operator=(const men&) = default;
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
    // Clears the screen and prints the record's header line.
    static void startEntry(const char* header);
    // Name, surname, lastname and the checked date of birth.
    void vvodMen();
    void vivodMen() const;
};
