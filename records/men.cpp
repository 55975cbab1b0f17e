#include "records/men.h"

#include <iostream>

#include "console/Console.h"
#include "console/EndOfInput.h"
#include "console/Input.h"
#include "errors/MAXExp.h"

void askWord(const char* prompt, std::string& field) {
    std::cout << prompt;
    console::readWord(field);
}

void askInt(const char* prompt, int& field) {
    field = console::askNumber([prompt] { std::cout << prompt; });
}

void men::startEntry(const char* header) {
    console::clearScreen();
    std::cout << header << std::endl;
}

void men::vvodMen() {
    askWord("Enter Name: ", name);
    askWord("\nEnter Surname: ", surname);
    askWord("\nEnter Lastname: ", lastname);
    for (;;) {
        try {
            int tom = 0;
            askInt("\nEnter Date of birth: ", tom);
            if (tom > 65535) {
                throw MAXExp("previsheno MAX znachenie");
            }
            // Negative dates are not refused: they wrap as an unsigned 16-bit number.
            date = static_cast<std::uint16_t>(tom);
            return;
        } catch (const MAXExp& thrown) {
            MAXExp jol = thrown;  // the handler works on its own copy
            jol.report();
        } catch (const EndOfInput&) {
            throw;
        } catch (...) {
            std::cout << "NO founded the eror" << std::endl;
        }
    }
}

void men::vivodMen() const {
    std::cout << "Name: " << name << std::endl;
    std::cout << "Surname: " << surname << std::endl;
    std::cout << "Lastname: " << lastname << std::endl;
    std::cout << "Date of birth: " << date << std::endl;
}
