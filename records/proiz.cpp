#include "records/proiz.h"

#include <iostream>
#include <new>
#include <stdexcept>

#include "console/EndOfInput.h"
#include "console/Input.h"
#include "errors/memberExp.h"

namespace {

constexpr const char* kUnionHeader = "-----UNION Member------";
constexpr const char* kCountPrompt = "\nEnter num works: ";

// An empty list with room for count works; memberExp when it cannot be had.
std::vector<std::string> makeWorks(int count) {
    std::vector<std::string> list;
    try {
        if (count < 0) {
            throw std::length_error("negative count");
        }
        list.reserve(static_cast<std::size_t>(count));
    } catch (const std::length_error&) {
        throw memberExp("eror in memory   ");
    } catch (const std::bad_alloc&) {
        throw memberExp("eror in memory   ");
    }
    return list;
}

}  // namespace

void proiz::vvod() {
    startEntry(kUnionHeader);
    vvodMen();
    vvodParty();
    vvodPost();
    askInt(kCountPrompt, works);
    vvodWorks();
}

void proiz::vvodWorks() {
    for (;;) {
        try {
            adress = makeWorks(works);
            for (int i = 0; i < works; ++i) {
                std::cout << "Enter the adress of taken spisk" << i << ":" << std::endl;
                std::string work;
                console::readWord(work);
                adress.push_back(std::move(work));
            }
            return;
        } catch (const memberExp& thrown) {
            memberExp kol = thrown;  // the handler works on its own copy
            kol.report();
            // The same count would fail for ever: ask for a new one.
            askInt(kCountPrompt, works);
        } catch (const EndOfInput&) {
            throw;
        } catch (...) {
            std::cout << "NO founded the eror" << std::endl;
        }
    }
}

void proiz::vivod() {
    std::cout << kUnionHeader << std::endl;
    vivodMen();
    vivodParty();
    vivodPost();
    for (std::size_t i = 0; i < adress.size() && i < static_cast<std::size_t>(works); ++i) {
        std::cout << i << " -> " << adress[i] << std::endl;
    }
    std::cout << "-------------------------" << std::endl;
}
