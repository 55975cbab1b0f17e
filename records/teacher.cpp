#include "records/teacher.h"

#include <iostream>

void teacher::vvod() {
    startEntry(kHeader);
    vvodMen();
    vvodPost();
}

void teacher::vivod() {
    std::cout << kHeader << std::endl;
    vivodMen();
    vivodPost();
}

void teacher::vvodPost() {
    askWord("\nEnter Position: ", position);
    askWord("\nEnter stepene: ", stepen);
    askWord("\nEnter Speciality: ", speciality);
}

void teacher::vivodPost() const {
    std::cout << "Position: " << position << std::endl;
    std::cout << "stepen: " << stepen << std::endl;
    std::cout << "Speciality: " << speciality << std::endl;
}
