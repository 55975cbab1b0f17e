#include "records/men.h"

#include <iostream>

#include "console/Console.h"
#include "console/Input.h"
#include "errors/MAXExp.h"
#include "errors/Retry.h"

void men::startEntry(const char* header) {
    console::clearScreen();
    std::cout << header << std::endl;
}

std::string men::askText(std::string_view prompt) {
    return untilDone("NO founded the eror", [prompt] { return console::askWord(prompt); });
}

void men::vvodMen() {
    name = askText("Enter Name: ");
    surname = askText("\nEnter Surname: ");
    lastname = askText("\nEnter Lastname: ");
    retry<MAXExp>("NO founded the eror", [this] {
        const int tom = console::askNumber("\nEnter Date of birth: ");
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
