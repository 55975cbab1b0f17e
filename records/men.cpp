#include "records/men.h"

#include <iostream>

#include "console/Console.h"
#include "errors/MAXExp.h"
#include "errors/Retry.h"
#include "records/Ask.h"

void men::startEntry(const char* header) {
    console::clearScreen();
    std::cout << header << std::endl;
}

void men::vvodMen() {
    name = console::readWord("Enter Name: ");
    surname = console::readWord("\nEnter Surname: ");
    lastname = console::readWord("\nEnter Lastname: ");
    retry<MAXExp>(kOtherFault, [this] {
        const int tom = ask::number("\nEnter Date of birth: ");
        if (tom > 65535) {
            throw MAXExp("previsheno MAX znachenie");
        }
        // Negative dates are not refused: they wrap as an unsigned 16-bit number.
        date = static_cast<std::uint16_t>(tom);
    });
}

void men::vivodMen() const {
    std::cout << "Name: " << name << std::endl;
    std::cout << "Surname: " << surname << std::endl;
    std::cout << "Lastname: " << lastname << std::endl;
    std::cout << "Date of birth: " << date << std::endl;
}
