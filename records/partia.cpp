#include "records/partia.h"

#include <iostream>

void partia::vvod() {
    startEntry(kHeader);
    vvodMen();
    vvodParty();
}

void partia::vivod() {
    std::cout << kHeader << std::endl;
    vivodMen();
    vivodParty();
}

void partia::vvodParty() {
    askWord("\nEnter Party name: ", party);
    askInt("\nEnter Year of entrance: ", year);
    askInt("\nEnter number: ", number);
    askWord("\nEnter Biography: ", biography);
}

void partia::vivodParty() const {
    std::cout << "Party name: " << party << std::endl;
    std::cout << "Year of entrance: " << year << std::endl;
    std::cout << "number: " << number << std::endl;
    std::cout << "Biography: " << biography << std::endl;
}
