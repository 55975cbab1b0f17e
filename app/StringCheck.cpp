#include "app/StringCheck.h"

#include <cstring>
#include <iostream>
#include <string>

#include "console/EndOfInput.h"
#include "console/Input.h"
#include "errors/charExp.h"

void proverkaStroki(char* mass, int size) {
    const auto limit = static_cast<std::size_t>(size);
    int done = 0;
    while (done != 1) {
        try {
            std::cout << "Vvedite stroky (dlia proverki razmernosty)" << std::endl;
            // The word is read whole, however long, so it is never split across reads.
            std::string word;
            console::readWord(word);
            if (word.size() + 1 > limit) {
                throw charExp(word.c_str());
            }
            std::memcpy(mass, word.c_str(), word.size() + 1);
            done = 1;
        } catch (const charExp& thrown) {
            charExp kod = thrown;  // the handler works on its own copy
            kod.report();
            char t = ' ';
            while (t != '1') {
                std::cout << "1-vvesti novyu storky\n 2-obrezat stroky " << std::endl;
                t = console::readChar();
                if (t == '2') {
                    std::strncpy(mass, kod.getMsg(), limit - 1);
                    mass[limit - 1] = '\0';
                    t = '1';
                    done = 1;
                }
            }
        } catch (const EndOfInput&) {
            throw;
        } catch (...) {
            std::cout << "NO founded the eror" << std::endl;
        }
    }
    std::cout << "v rezultate polychenaia stroka  " << mass << " !!!!!" << std::endl;
}
