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
    position = askText("\nEnter Position: ");
    stepen = askText("\nEnter stepene: ");
    speciality = askText("\nEnter Speciality: ");
}

void teacher::vivodPost() const {
    std::cout << "Position: " << position << std::endl;
    std::cout << "stepen: " << stepen << std::endl;
    std::cout << "Speciality: " << speciality << std::endl;
}
