#include "records/teacher.h"

#include <iostream>

#include "console/Input.h"

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
    position = console::askWord("\nEnter Position: ");
    stepen = console::askWord("\nEnter stepene: ");
    speciality = console::askWord("\nEnter Speciality: ");
}

void teacher::vivodPost() const {
    std::cout << "Position: " << position << std::endl;
    std::cout << "stepen: " << stepen << std::endl;
    std::cout << "Speciality: " << speciality << std::endl;
}
