#include "records/teacher.h"

#include <iostream>

#include "console/Console.h"
#include "records/Ask.h"

void teacher::vvod() {
    startEntry(kHeader);
    vvodMen();
    vvodPost();
}

void teacher::vivod() const {
    std::cout << kHeader << std::endl;
    vivodMen();
    vivodPost();
}

void teacher::vvodPost() {
    position = console::readWord("\nEnter Position: ");
    stepen = console::readWord("\nEnter stepene: ");
    speciality = console::readWord("\nEnter Speciality: ");
}

void teacher::vivodPost() const {
    std::cout << "Position: " << position << std::endl;
    std::cout << "stepen: " << stepen << std::endl;
    std::cout << "Speciality: " << speciality << std::endl;
}
