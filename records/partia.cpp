#include "records/partia.h"

#include <iostream>

#include "console/Console.h"
#include "records/Ask.h"

void partia::vvod() {
    startEntry(kHeader);
    vvodMen();
    vvodParty();
}

void partia::vivod() const {
    std::cout << kHeader << std::endl;
    vivodMen();
    vivodParty();
}

void partia::vvodParty() {
    party = console::readWord("\nEnter Party name: ");
    year = ask::number("\nEnter Year of entrance: ");
    number = ask::number("\nEnter number: ");
    biography = console::readWord("\nEnter Biography: ");
}

void partia::vivodParty() const {
    std::cout << "Party name: " << party << std::endl;
    std::cout << "Year of entrance: " << year << std::endl;
    std::cout << "number: " << number << std::endl;
    std::cout << "Biography: " << biography << std::endl;
}
