#include "records/partia.h"

#include <iostream>

#include "console/Input.h"

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
    party = askText("\nEnter Party name: ");
    year = console::askNumber("\nEnter Year of entrance: ");
    number = console::askNumber("\nEnter number: ");
    biography = askText("\nEnter Biography: ");
}

void partia::vivodParty() const {
    std::cout << "Party name: " << party << std::endl;
    std::cout << "Year of entrance: " << year << std::endl;
    std::cout << "number: " << number << std::endl;
    std::cout << "Biography: " << biography << std::endl;
}
